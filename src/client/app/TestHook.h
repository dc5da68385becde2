#pragma once
#include <QByteArray>
#include <QObject>
#include <QSocketNotifier>
#include <QString>
#include <QTimer>
#include <memory>
#include <string>
#include <vector>

#include "core/ports/Sound.h"

class QWidget;

namespace zel {

class TZel4HvnForm;
class TZelClient;

// Drives the client from a test: reads commands from stdin line by line and
// answers each with one line on stdout starting "ok" or "error"; reports
// changes as "event ..." lines. Only exists when ZEL_TEST_HOOK=1.
// With the hook, addresses are recorded (command "opened") instead of
// reaching a browser.
class TestHook : public QObject, private Browser {
    Q_OBJECT
public:
    // The hook for `client`, or null when the environment does not ask for one.
    static std::unique_ptr<TestHook> Install(TZelClient& client);
    explicit TestHook(TZelClient& client);

private:
    void OnReadable();
    void Execute(const QString& line);
    QString Run(const QString& verb, const QString& rest);
    QString StateLine() const;
    QWidget* FindWidget(const QString& name) const;
    void Poll();
    static void Emit(const QString& line);
    void Open(const std::string& url) override;

    TZelClient& client_;
    TZel4HvnForm& form_;
    QSocketNotifier notifier_;
    QTimer poll_;
    QByteArray pending_;
    int lastState_ = -1;
    bool lastConnected_ = false;
    QString lastModal_;
    QString lastNotice_;
    std::vector<std::string> opened_;
};

} // namespace zel
