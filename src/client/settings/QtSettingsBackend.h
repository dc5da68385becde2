#pragma once
#include <QString>
#include <memory>

#include "core/ports/SettingsBackend.h"

class QSettings;

namespace zel {

// Settings over QSettings: organisation "Zel", application "HvnZel". On
// Windows the registry key Software\Zel\HvnZel, elsewhere an INI file; when
// ZEL_SETTINGS_DIR is set the INI file is "HvnZel.ini" in that directory.
// The file holds the password, so it is kept readable by its owner only.
class QtSettingsBackend : public SettingsBackend {
public:
    QtSettingsBackend();
    // An INI file at `iniPath` (tests, explicit locations).
    explicit QtSettingsBackend(const QString& iniPath);
    ~QtSettingsBackend() override;

    std::optional<std::string> Read(const std::string& section, const std::string& key) override;
    void Write(const std::string& section, const std::string& key, const std::string& value) override;
    // Writes pending values to disk and restricts the file to its owner.
    void Flush() override;

    // The INI file, or the registry path on Windows.
    QString FileName() const;

private:
    void Protect();

    std::unique_ptr<QSettings> settings_;
};

} // namespace zel
