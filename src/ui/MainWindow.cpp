#include "ui/MainWindow.h"

#include "collect/ResumeKind.h"
#include "ui/CityComboBox.h"
#include "ui/IconData.h"
#include "ui/IntegerInput.h"
#include "ui/ResumeListModel.h"
#include "ui/StatusBar.h"
#include "ui/Text.h"
#include "ui/TrayIcon.h"
#include "web/TextEncoding.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTabWidget>
#include <QTableView>

namespace quillmarsh {

namespace {

const QStringList kFullTimeTitles
    = {"1", "序号", "姓名", "性别", "年龄", "期望职位", "学历", "期望薪资", "更新时间", "简介", "手机号", "链接"};
const QList<int> kFullTimeWidths = {0, 40, 70, 50, 50, 150, 80, 90, 85, 280, 0, 0};
const QStringList kPartTimeTitles = {"1", "序号", "姓名", "性别", "年龄", "期望职位", "期望月薪", "人才类型",
    "求职地区", "更新时间", "简介", "手机号", "链接"};
const QList<int> kPartTimeWidths = {0, 40, 70, 50, 50, 150, 100, 70, 100, 60, 250, 0, 0};
const QStringList kCities = {"长沙", "武汉", "北京", "上海"};

// The controls of one page, at the tab control's own coordinates (measured from its top-left
// corner, tab header included).
struct PageLayout {
    int tabIndex;
    QRect label1, city, label2, keyword, label3, pages, start, download;
    int listX;
    const char *label1Name, *label2Name, *label3Name;
};

constexpr int kClientWidth = 924; // the outer 930 x 640 less the frame
constexpr int kClientHeight = 596;

template <typename T> T* Named(T* widget, std::string_view name)
{
    widget->setObjectName(Name(name));
    return widget;
}

} // namespace

MainWindow::MainWindow(QWidget* parent)
    : QWidget(parent,
        Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
            | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(QStringLiteral("Quillmarsh   Lintberry"));
    setWindowIcon(QIcon(QPixmap::fromImage(ImageFromIconFile(kProgramIcon, kProgramIconSize))));
    setFixedSize(kClientWidth, kClientHeight);

    status_ = Named(new StatusBar(this), control::kStatusBar);
    status_->setGeometry(0, 576, 924, 20);

    tabs_ = Named(new QTabWidget(this), control::kTabs);
    tabs_->setGeometry(1, 5, 918, 587);
    tabs_->addTab(new QWidget, QStringLiteral("全职简历"));
    tabs_->addTab(new QWidget, QStringLiteral("兼职简历"));

    const PageLayout layouts[2] = {
        {0, {14, 43, 32, 16}, {54, 42, 104, 20}, {168, 43, 32, 19}, {206, 43, 128, 20}, {344, 43, 54, 19},
            {404, 43, 40, 20}, {470, 39, 128, 24}, {616, 40, 128, 24}, 3, "透明标签1", "透明标签2", "透明标签3"},
        {1, {19, 43, 32, 16}, {59, 43, 104, 20}, {173, 43, 32, 19}, {211, 43, 128, 20}, {349, 43, 54, 19},
            {409, 43, 40, 20}, {475, 40, 128, 24}, {619, 40, 128, 24}, 4, "透明标签4", "透明标签5", "透明标签6"},
    };
    QList<QWidget*> pageWidgets[2];
    for (const PageLayout& l : layouts) {
        const KindTraits& t = Traits(l.tabIndex == 0 ? ResumeKind::FullTime : ResumeKind::PartTime);
        QList<QWidget*>& widgets = pageWidgets[l.tabIndex];
        auto place = [&widgets](QWidget* w, const QRect& r) {
            w->setGeometry(r);
            widgets.append(w);
            return w;
        };
        place(Named(new QLabel(QStringLiteral("城市："), tabs_), l.label1Name), l.label1);
        auto* city = Named(new CityComboBox(tabs_), t.cityBox);
        city->addItems(kCities);
        city->Select(0);       // the stored selection first,
        city->setEditText({}); // then the stored, empty, text
        place(city, l.city);
        place(Named(new QLabel(QStringLiteral("职位："), tabs_), l.label2Name), l.label2);
        place(Named(new QLineEdit(tabs_), t.keywordBox), l.keyword);
        place(Named(new QLabel(QStringLiteral("采集页数："), tabs_), l.label3Name), l.label3);
        place(Named(new IntegerInput(tabs_), t.pageCountBox), l.pages);
        place(Named(new QPushButton(QStringLiteral("开始采集"), tabs_), t.startButton), l.start);
        place(Named(new QPushButton(QStringLiteral("一键下载"), tabs_), t.downloadButton), l.download);
        const bool full = l.tabIndex == 0;
        place(AddList(tabs_, t.list.data(), full ? kFullTimeTitles : kPartTimeTitles,
                  full ? kFullTimeWidths : kPartTimeWidths),
            QRect(l.listX, 83, 907, 496));
        for (QWidget* w : widgets) {
            w->setFocusPolicy(qobject_cast<QLabel*>(w) ? Qt::NoFocus : Qt::StrongFocus);
            w->raise();
        }
    }
    for (QWidget* w : pageWidgets[1])
        w->hide();
    connect(tabs_, &QTabWidget::currentChanged, this, [pageWidgets](int index) {
        for (int page = 0; page < 2; ++page)
            for (QWidget* w : pageWidgets[page])
                w->setVisible(page == index);
    });
    status_->raise(); // docked over the tab control's lower edge
    for (QPushButton* button : findChildren<QPushButton*>()) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }

    // Esc closes the window from any control; Enter and F1 do nothing at window level.
    auto* esc = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    esc->setContext(Qt::WindowShortcut);
    connect(esc, &QShortcut::activated, this, &QWidget::close);

    tray_ = new TrayIcon(this);
    connect(tray_, &TrayIcon::trayEvent, this, &MainWindow::trayEvent);
}

MainWindow::~MainWindow() = default;

QTableView* MainWindow::AddList(QWidget* tabs, const char* name, const QStringList& titles, const QList<int>& widths)
{
    auto* view = new QTableView(tabs);
    view->setObjectName(QString::fromUtf8(name));
    auto* model = new ResumeListModel(titles, view);
    view->setModel(model);
    if (titles.size() == kFullTimeTitles.size())
        fullTime_ = model;
    else
        partTime_ = model;
    view->verticalHeader()->hide();
    view->verticalHeader()->setDefaultSectionSize(20);
    view->horizontalHeader()->setMinimumSectionSize(0);
    view->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    view->horizontalHeader()->setHighlightSections(false);
    for (int c = 0; c < widths.size(); ++c)
        view->setColumnWidth(c, widths[c]);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setShowGrid(true);
    view->setWordWrap(false);
    view->setSortingEnabled(false);
    view->setFrameShadow(QFrame::Sunken);
    return view;
}

void MainWindow::RaiseStartupEvents()
{
    emit created();
    emit moved();
    emit resized();
}

void MainWindow::ShowCentred()
{
    const QRect screen = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->geometry() : QRect();
    move((screen.width() - kOuterWidth) / 2, (screen.height() - kOuterHeight) / 2);
    show();
}

void MainWindow::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    if (isVisible())
        emit moved();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    tray_->Remove(); // the icon goes with the window
    event->accept();
}

void MainWindow::InstallTrayIcon() { tray_->Set(kProgramIcon, kProgramIconSize, GbkFromUtf8("程序运行中")); }

void MainWindow::OnTrayEvent(int code)
{
    if (code == 3) {
        PopUpTrayMenu();
        return;
    }
    if (code == 1 || code == 2) {
        showNormal();
        raise();
        activateWindow();
    }
}

void MainWindow::PopUpTrayMenu()
{
    // Built for each pop-up and gone once it closes.
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("托盘菜单"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    QAction* quit = menu->addAction(QStringLiteral("退出"));
    quit->setObjectName(QStringLiteral("退出"));
    connect(quit, &QAction::triggered, this, &QWidget::close);
    activateWindow();
    const QPoint cursor = QCursor::pos();
    menu->popup(QPoint(cursor.x() - 5 - menu->sizeHint().width(), cursor.y() - 5));
}

ResumeListModel* MainWindow::List(std::string_view name) const
{
    if (name == kFullTimeTraits.list)
        return fullTime_;
    if (name == kPartTimeTraits.list)
        return partTime_;
    return nullptr;
}

int MainWindow::SelectedIndex(std::string_view control) const
{
    auto* box = findChild<CityComboBox*>(Name(control));
    return box ? box->SelectedIndex() : -1;
}

std::string MainWindow::Text(std::string_view control) const
{
    if (auto* edit = findChild<QLineEdit*>(Name(control)))
        return FromQString(edit->text());
    if (auto* box = findChild<QComboBox*>(Name(control)))
        return FromQString(box->currentText());
    return {};
}

void MainWindow::DeleteAllRows(std::string_view list)
{
    if (ResumeListModel* m = List(list))
        m->DeleteAllRows();
}

int MainWindow::AppendRow(std::string_view list, int position, std::string_view text)
{
    ResumeListModel* m = List(list);
    return m ? m->AppendRow(position, text) : -1;
}

int MainWindow::RowCount(std::string_view list) const
{
    ResumeListModel* m = List(list);
    return m ? m->Rows() : 0;
}

void MainWindow::SetCellText(std::string_view list, int row, int column, std::string_view text)
{
    if (ResumeListModel* m = List(list))
        m->SetCellText(row, column, text);
}

std::string MainWindow::GetCellText(std::string_view list, int row, int column) const
{
    ResumeListModel* m = List(list);
    return m ? m->GetCellText(row, column) : std::string();
}

void MainWindow::SetPaneText(std::string_view statusBar, int pane, std::string_view text)
{
    if (statusBar == control::kStatusBar)
        status_->SetPaneText(pane, ToQString(text));
}

} // namespace quillmarsh
