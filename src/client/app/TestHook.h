#pragma once
#include <QByteArray>
#include <QObject>
#include <QSocketNotifier>
#include <QString>
#include <QTimer>
#include <memory>

class QWidget;

namespace zel {

class TZel4HvnForm;

// Drives the client from a test: reads commands from stdin line by line and
// answers each with one line on stdout starting "ok" or "error"; reports
// changes as "event ..." lines. Only exists when ZEL_TEST_HOOK=1.
class TestHook : public QObject {
    Q_OBJECT
public:
    // The hook for `form`, or null when the environment does not ask for one.
    static std::unique_ptr<TestHook> Install(TZel4HvnForm& form);
    explicit TestHook(TZel4HvnForm& form);

private:
    void OnReadable();
    void Execute(const QString& line);
    QString Run(const QString& verb, const QString& rest);
    QString StateLine() const;
    QWidget* FindWidget(const QString& name) const;
    void Poll();
    static void Emit(const QString& line);

    TZel4HvnForm& form_;
    QSocketNotifier notifier_;
    QTimer poll_;
    QByteArray pending_;
    int lastState_ = -1;
    bool lastConnected_ = false;
    QString lastModal_;
    QString lastNotice_;
};

} // namespace zel
