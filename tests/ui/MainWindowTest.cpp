#include "Window.h"

#include "support/Gbk.h"
#include "ui/IconData.h"
#include "ui/IntegerInput.h"
#include "ui/TrayIcon.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QTabWidget>

#include <gtest/gtest.h>

using namespace quillmarsh;

namespace {

TEST(MainWindow, StartsCentredWithItsStoredSettings)
{
    Window w;
    EXPECT_EQ(w.window->windowTitle(), "Quillmarsh   Lintberry");
    EXPECT_EQ(w.window->size(), QSize(924, 596)) << "the outer 930 x 640 less the frame";
    EXPECT_EQ(w.window->minimumSize(), w.window->maximumSize()) << "not resizable";
    EXPECT_FALSE(w.window->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(w.window->windowFlags() & Qt::WindowMinimizeButtonHint);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(w.window->frameGeometry().topLeft(), QPoint((screen.width() - 930) / 2, (screen.height() - 640) / 2));
    const QImage icon = w.window->windowIcon().pixmap(32, 32).toImage();
    EXPECT_EQ(icon.size(), QSize(32, 32));

    auto* tabs = w.Find<QTabWidget>("选择夹1");
    EXPECT_EQ(tabs->geometry(), QRect(1, 5, 918, 587));
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_EQ(tabs->tabText(0), "全职简历");
    EXPECT_EQ(tabs->tabText(1), "兼职简历");
    EXPECT_EQ(w.Find("状态条1")->geometry(), QRect(0, 576, 924, 20));
    const QString panes[] = {"采集状态：", "", "下载状态：", "", "      Lintberry欢迎你"};
    const int edges[] = {60, 360, 420, 720, 920};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(w.Pane(i), panes[i]) << i;
        EXPECT_EQ(w.Find<StatusBar>("状态条1")->PaneGeometry(i).right() + 1, edges[i]) << i;
    }
}

TEST(MainWindow, EveryControlAtItsPlace)
{
    struct Control {
        const char* name;
        QRect geometry;
        const char* text;
        int page;
    } controls[] = {
        {"透明标签1", {14, 43, 32, 16}, "城市：", 0},
        {"组合框_城市", {54, 42, 104, 20}, "", 0},
        {"透明标签2", {168, 43, 32, 19}, "职位：", 0},
        {"编辑框_职位", {206, 43, 128, 20}, "", 0},
        {"透明标签3", {344, 43, 54, 19}, "采集页数：", 0},
        {"编辑框_采集页数", {404, 43, 40, 20}, "", 0},
        {"按钮_开始采集", {470, 39, 128, 24}, "开始采集", 0},
        {"按钮_一键下载", {616, 40, 128, 24}, "一键下载", 0},
        {"超级列表框_全职", {3, 83, 907, 496}, nullptr, 0},
        {"透明标签4", {19, 43, 32, 16}, "城市：", 1},
        {"组合框_城市_兼职", {59, 43, 104, 20}, "", 1},
        {"透明标签5", {173, 43, 32, 19}, "职位：", 1},
        {"编辑框_职位_兼职", {211, 43, 128, 20}, "", 1},
        {"透明标签6", {349, 43, 54, 19}, "采集页数：", 1},
        {"编辑框_采集页数_兼职", {409, 43, 40, 20}, "", 1},
        {"按钮_开始采集_兼职", {475, 40, 128, 24}, "开始采集", 1},
        {"按钮_一键下载_兼职", {619, 40, 128, 24}, "一键下载", 1},
        {"超级列表框_兼职", {4, 83, 907, 496}, nullptr, 1},
    };
    Window w;
    auto* tabs = w.Find<QTabWidget>("选择夹1");
    for (const Control& c : controls) {
        QWidget* widget = w.Find(c.name);
        ASSERT_NE(widget, nullptr) << c.name;
        EXPECT_EQ(widget->parentWidget(), tabs) << c.name << ": placed in the tab control's own coordinates";
        EXPECT_EQ(widget->geometry(), c.geometry) << c.name;
        EXPECT_EQ(widget->isVisible(), c.page == 0) << c.name;
        if (!c.text)
            continue;
        QString text;
        if (auto* label = qobject_cast<QLabel*>(widget))
            text = label->text();
        else if (auto* button = qobject_cast<QPushButton*>(widget))
            text = button->text();
        else if (auto* edit = qobject_cast<QLineEdit*>(widget))
            text = edit->text();
        else if (auto* combo = qobject_cast<QComboBox*>(widget))
            text = combo->currentText();
        EXPECT_EQ(text, c.text) << c.name;
    }
    EXPECT_EQ(w.Find<QLineEdit>("编辑框_采集页数")->alignment() & Qt::AlignHCenter, Qt::AlignHCenter);
    EXPECT_EQ(w.Find<QLabel>("透明标签1")->focusPolicy(), Qt::NoFocus);
}

TEST(MainWindow, ListsHaveTheirColumns)
{
    struct List {
        const char* name;
        QStringList titles;
        QList<int> widths;
    } lists[] = {
        {"超级列表框_全职",
            {"1", "序号", "姓名", "性别", "年龄", "期望职位", "学历", "期望薪资", "更新时间", "简介", "手机号", "链接"},
            {0, 40, 70, 50, 50, 150, 80, 90, 85, 280, 0, 0}},
        {"超级列表框_兼职",
            {"1", "序号", "姓名", "性别", "年龄", "期望职位", "期望月薪", "人才类型", "求职地区", "更新时间", "简介",
                "手机号", "链接"},
            {0, 40, 70, 50, 50, 150, 100, 70, 100, 60, 250, 0, 0}},
    };
    Window w;
    for (const List& l : lists) {
        auto* view = w.Find<QTableView>(l.name);
        ASSERT_EQ(view->model()->columnCount(), l.titles.size()) << l.name;
        EXPECT_EQ(view->model()->rowCount(), 0);
        for (int c = 0; c < l.titles.size(); ++c) {
            EXPECT_EQ(view->model()->headerData(c, Qt::Horizontal).toString(), l.titles[c]) << l.name << c;
            EXPECT_EQ(view->columnWidth(c), l.widths[c]) << l.name << c;
        }
        EXPECT_EQ(view->selectionBehavior(), QAbstractItemView::SelectRows);
        EXPECT_EQ(view->selectionMode(), QAbstractItemView::ExtendedSelection);
        EXPECT_EQ(view->editTriggers(), QAbstractItemView::NoEditTriggers);
        EXPECT_TRUE(view->showGrid());
    }
}

TEST(MainWindow, CityBoxesStartWithTheFirstItemAndAnEmptyText)
{
    Window w;
    for (const char* name : {"组合框_城市", "组合框_城市_兼职"}) {
        auto* box = w.Find<CityComboBox>(name);
        EXPECT_EQ(box->count(), 4);
        EXPECT_EQ(box->itemText(0), "长沙");
        EXPECT_EQ(box->itemText(3), "上海");
        EXPECT_EQ(box->currentText(), "");
        EXPECT_EQ(w.controls->SelectedIndex(name), 0);
    }
    auto* box = w.Find<CityComboBox>("组合框_城市");
    box->Select(2);
    EXPECT_EQ(w.controls->SelectedIndex("组合框_城市"), 2);
    EXPECT_EQ(w.controls->Text("组合框_城市"), G("北京"));
    w.Type("组合框_城市", "x");
    EXPECT_EQ(w.controls->SelectedIndex("组合框_城市"), -1) << "typed text that names no item";
    box->lineEdit()->clear();
    w.Type("组合框_城市", "武汉");
    EXPECT_EQ(w.controls->SelectedIndex("组合框_城市"), 1);
    // Choosing from the list, as a user does.
    QTest::keyClick(box, Qt::Key_Down, Qt::AltModifier);
    emit box->activated(3);
    EXPECT_EQ(w.controls->SelectedIndex("组合框_城市"), 3);
}

TEST(IntegerInput, NormalisesWhenTheFocusLeaves)
{
    struct Case {
        const char* in;
        const char* out;
    } cases[] = {
        {"007", "7"},
        {"12abc", "12"},
        {"0", ""},
        {"", ""},
        {"99999999999", "2147483647"},
        {"-99999999999", "-2147483648"},
        {"  5", "5"},
        {"-3", "-3"},
        {"+8", "8"},
        {"--1", ""},
        {"abc", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(NormaliseIntegerText(c.in), c.out) << c.in;
}

TEST(IntegerInput, TypingAdmitsOnlyDigitsAndMinus)
{
    Window w;
    auto* box = w.Find<QLineEdit>("编辑框_采集页数");
    w.Type("编辑框_采集页数", "a");
    EXPECT_EQ(box->text(), "");
    w.Type("编辑框_采集页数", "-3x");
    EXPECT_EQ(box->text(), "-3");
    QTest::keyClick(box, Qt::Key_Backspace);
    EXPECT_EQ(box->text(), "-");
    w.Find<QLineEdit>("编辑框_职位")->setFocus();
    EXPECT_EQ(box->text(), "") << "a lone minus is 0, shown empty";

    w.Type("编辑框_采集页数", "-3");
    w.Find<QLineEdit>("编辑框_职位")->setFocus();
    EXPECT_EQ(box->text(), "-3");

    box->clear();
    w.Type("编辑框_采集页数", "0");
    w.Find<QLineEdit>("编辑框_职位")->setFocus();
    EXPECT_EQ(box->text(), "");

    box->clear();
    box->setFocus();
    QInputMethodEvent commit;
    commit.setCommitString("３a4");
    QApplication::sendEvent(box, &commit);
    EXPECT_EQ(box->text(), "4") << "an input method's text is filtered like typing";
    box->clear();

    QApplication::clipboard()->setText("12abc");
    box->setFocus();
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(box->text(), "12abc") << "pasted text waits for the focus to leave";
    w.Find<QLineEdit>("编辑框_职位")->setFocus();
    EXPECT_EQ(box->text(), "12");
}

TEST(MainWindow, SwitchingPagesKeepsEverything)
{
    Window w;
    w.SetText("编辑框_职位", "会计");
    w.controls->AppendRow("超级列表框_全职");
    w.controls->SetCellText("超级列表框_全职", 0, 2, G("王女士"));
    w.SetText("编辑框_职位_兼职", "促销");
    auto* tabs = w.Find<QTabWidget>("选择夹1");
    tabs->setCurrentIndex(1);
    EXPECT_FALSE(w.Find("编辑框_职位")->isVisible());
    EXPECT_TRUE(w.Find("编辑框_职位_兼职")->isVisible());
    EXPECT_TRUE(w.Find("超级列表框_兼职")->isVisible());
    tabs->setCurrentIndex(0);
    EXPECT_TRUE(w.Find("编辑框_职位")->isVisible());
    EXPECT_EQ(w.controls->Text("编辑框_职位"), G("会计"));
    EXPECT_EQ(w.controls->Text("编辑框_职位_兼职"), G("促销"));
    EXPECT_EQ(w.controls->GetCellText("超级列表框_全职", 0, 2), G("王女士"));
}

TEST(MainWindow, EscClosesEnterAndF1DoNothing)
{
    Window w;
    auto* keyword = w.Find<QLineEdit>("编辑框_职位");
    keyword->setFocus();
    QTest::keyClick(keyword, Qt::Key_Return);
    QTest::keyClick(keyword, Qt::Key_F1);
    QTest::keyClick(w.Find("按钮_开始采集"), Qt::Key_Return);
    EXPECT_TRUE(w.window->isVisible());
    EXPECT_EQ(w.Pane(1), "") << "Enter pressed no button";
    QTest::keyClick(keyword, Qt::Key_Escape);
    EXPECT_FALSE(w.window->isVisible());
}

TEST(MainWindow, EscClosesFromEveryKindOfControl)
{
    for (const char* name : {"组合框_城市", "编辑框_采集页数", "按钮_一键下载", "超级列表框_全职"}) {
        Window w;
        QWidget* control = w.Find(name);
        if (auto* combo = qobject_cast<QComboBox*>(control))
            control = combo->lineEdit();
        control->setFocus();
        QTest::keyClick(control, Qt::Key_Escape);
        EXPECT_FALSE(w.window->isVisible()) << name;
    }
}

TEST(MainWindow, ControlOperationsIgnoreWhatDoesNotExist)
{
    Window w;
    Controls& c = *w.controls;
    const std::string list = "超级列表框_全职";
    EXPECT_EQ(c.AppendRow(list), 0);
    EXPECT_EQ(c.AppendRow(list, -5, "x"), 1);
    EXPECT_EQ(c.AppendRow(list, 0, "first"), 0) << "inserted at a position";
    EXPECT_EQ(c.AppendRow(list, 99), 3) << "past the end appends";
    EXPECT_EQ(c.RowCount(list), 4);
    EXPECT_EQ(c.GetCellText(list, 0), "first");
    c.SetCellText(list, 1, 11, "http://hidden/column");
    EXPECT_EQ(c.GetCellText(list, 1, 11), "http://hidden/column");
    c.SetCellText(list, 9, 1, "nothing");
    c.SetCellText(list, 0, 12, "nothing");
    c.SetCellText(list, -1, 1, "nothing");
    EXPECT_EQ(c.GetCellText(list, 9, 1), "");
    EXPECT_EQ(c.GetCellText(list, 0, 12), "");
    EXPECT_EQ(c.GetCellText(list, 0, -1), "");
    EXPECT_EQ(c.GetCellText("no such list", 0, 0), "");
    EXPECT_EQ(c.AppendRow("no such list"), -1);
    EXPECT_EQ(c.RowCount("no such list"), 0);
    EXPECT_EQ(c.SelectedIndex("编辑框_职位"), -1);
    EXPECT_EQ(c.Text("no such box"), "");
    c.SetPaneText("状态条1", 5, "x");
    c.SetPaneText("状态条1", -1, "x");
    c.SetPaneText("no such bar", 1, "x");
    for (int i = 0; i < 5; ++i)
        EXPECT_NE(w.Pane(i), "x");
    c.SetPaneText("状态条1", 4);
    EXPECT_EQ(w.Pane(4), "");
    const std::string big(1 << 20, 'a');
    c.SetCellText(list, 0, 9, big);
    EXPECT_EQ(c.GetCellText(list, 0, 9), big) << "cells of any length";
    c.DeleteAllRows(list);
    EXPECT_EQ(c.RowCount(list), 0);
}

TEST(ProgramIcon, IsA32By32IconFile)
{
    const QImage image = ImageFromIconFile(kProgramIcon, kProgramIconSize);
    ASSERT_EQ(image.size(), QSize(32, 32));
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << "transparent corner";
    EXPECT_EQ(qAlpha(image.pixel(16, 16)), 255);
    EXPECT_TRUE(ImageFromIconFile(kProgramIcon, 100).isNull());
    const unsigned char junk[30] = {1, 2, 3};
    EXPECT_TRUE(ImageFromIconFile(junk, sizeof junk).isNull());
    EXPECT_TRUE(ImageFromIconFile(nullptr, 0).isNull());
}

TEST(TrayMenu, RightClickPopsUpTheSingleItemLeftOfTheCursor)
{
    Window w;
    QCursor::setPos(QPoint(400, 300));
    w.window->OnTrayEvent(3);
    QMenu* menu = nullptr;
    for (int i = 0; i < 100 && !menu; ++i) {
        QTest::qWait(10);
        menu = w.window->findChild<QMenu*>("托盘菜单");
    }
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->actions().size(), 1);
    EXPECT_EQ(menu->actions()[0]->text(), "退出");
    const QPoint cursor = QCursor::pos();
    EXPECT_EQ(menu->geometry().top(), cursor.y() - 5);
    EXPECT_EQ(menu->geometry().right() + 1, cursor.x() - 5);
    menu->actions()[0]->trigger();
    EXPECT_FALSE(w.window->isVisible()) << "退出 closes the window, and so ends the program";
}

TEST(TrayIcon, TipIsCutToSixtyTwoBytes)
{
    TrayIcon tray;
    tray.Set(kProgramIcon, kProgramIconSize, G("程序运行中"));
    EXPECT_TRUE(tray.IsInstalled());
    EXPECT_EQ(tray.Tip(), "程序运行中");
    tray.Set(kProgramIcon, kProgramIconSize, std::string(61, 'a') + G("中"));
    EXPECT_EQ(tray.Tip(), QString(61, 'a')) << "no half character at the end";
    tray.Set(nullptr, 0, "x");
    EXPECT_FALSE(tray.IsInstalled()) << "no image removes the icon";
    tray.Set(nullptr, 0, "x");
    EXPECT_FALSE(tray.IsInstalled());
}

} // namespace
