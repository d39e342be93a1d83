#pragma once

#include "collect/ResumeKind.h"
#include "ui/CityComboBox.h"
#include "ui/MainWindow.h"
#include "ui/Program.h"
#include "ui/StatusBar.h"
#include "ui/Text.h"
#include "ui/UiControls.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <memory>

// Runs the window's event loop until `done` holds or `ms` have passed; the loop wakes at once
// for each worker request, as the program's own loop does.
template <typename Predicate> bool WaitFor(Predicate done, int ms = 20000)
{
    QElapsedTimer clock;
    clock.start();
    QEventLoop loop;
    QTimer poll;
    poll.setInterval(1);
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done() || clock.elapsed() > ms)
            loop.quit();
    });
    poll.start();
    if (!done())
        loop.exec();
    return done();
}

// The real window, wired as the program wires it, for tests.
struct Window {
    explicit Window(quillmarsh::ProgramSettings settings = {})
    {
        window = std::make_unique<quillmarsh::MainWindow>();
        controls = std::make_unique<quillmarsh::UiControls>(window.get());
        quillmarsh::WireEvents(*window, *controls, settings);
        window->RaiseStartupEvents();
        window->ShowCentred();
        exposed = QTest::qWaitForWindowExposed(window.get());
    }

    template <typename T = QWidget> T* Find(std::string_view name) const
    {
        return window->findChild<T*>(quillmarsh::Name(name));
    }
    QString Pane(int pane) const { return Find<quillmarsh::StatusBar>("状态条1")->PaneText(pane); }

    // Types into a box the way a user does.
    void Type(std::string_view box, const QString& text) const
    {
        auto* w = Find<QWidget>(box);
        if (auto* combo = qobject_cast<QComboBox*>(w))
            w = combo->lineEdit();
        w->setFocus();
        // One key event per character, with its text: the way an input method delivers Chinese.
        for (QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(w, &press);
            QApplication::sendEvent(w, &release);
        }
    }
    void SetText(std::string_view box, const QString& text) const { Find<QLineEdit>(box)->setText(text); }
    void Click(std::string_view button) const { QTest::mouseClick(Find<QPushButton>(button), Qt::LeftButton); }

    bool exposed = false;
    std::unique_ptr<quillmarsh::MainWindow> window;
    std::unique_ptr<quillmarsh::UiControls> controls;
};
