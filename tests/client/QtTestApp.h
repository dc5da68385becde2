#pragma once
// Shared set-up of the widget tests: one QApplication with the Korean UI font,
// and screenshots under the build directory for a look by eye.
#include <QApplication>
#include <QDir>
#include <QFont>
#include <QInputMethodEvent>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

// Runs the event loop until `cond` holds, at most `ms` milliseconds; when it
// never does the test fails and stops here. (Qt's own QTRY macros report to
// the Qt test runner, which a GoogleTest program never reads.)
#define ZEL_WAIT_FOR(cond, ms)                                                                                         \
    ASSERT_TRUE(QTest::qWaitFor([&] { return static_cast<bool>(cond); }, ms)) << "never held: " #cond

namespace zel::test {

inline QApplication& App()
{
    static int argc = 1;
    static char name[] = "test_client";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        auto* a = new QApplication(argc, argv);
        a->setFont(QFont("NanumGothic", 10));
        return a;
    }();
    return *app;
}

// Types `text` into `widget`: ASCII as key presses, everything else as text
// committed by an input method, the way Korean reaches a field.
inline void Type(QWidget* widget, const QString& text)
{
    for (QChar c : text) {
        if (c.unicode() < 128) {
            QTest::keyClick(widget, static_cast<char>(c.unicode()));
        } else {
            QInputMethodEvent commit;
            commit.setCommitString(QString(c));
            QApplication::sendEvent(widget, &commit);
        }
    }
}

inline void SaveScreenshot(QWidget& widget, const QString& fileName)
{
    QDir dir(QStringLiteral(ZEL_SCREENSHOT_DIR));
    dir.mkpath(".");
    widget.grab().save(dir.filePath(fileName));
}

} // namespace zel::test
