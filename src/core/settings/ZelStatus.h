#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "core/ports/SettingsBackend.h"

namespace zel {

// The nine settings records. Texts are CP949 bytes. Field order follows the
// stored sections; defaults are the first-run values.

struct CriticalInfo {
    std::string dzelver; // "dzelver": version code of the stored settings
    std::string zelpath; // program directory (never written)
    std::string gibodir; // record directory (never written)
    std::string advhdir; // banner directory (never written)
    std::string convert; // code conversion table file
    std::string hanfont;
    std::string engfont;
    std::string kssfont;
    std::string sbsfont;
};

struct LoginInfo {
    std::string userId;     // "userid"
    std::string nickname;   // "nickname"
    std::string password;   // "password"
    std::int32_t level = 0; // "golevel": 0..26 amateur, 30..38 professional
    bool savePass = true;   // "savepass"
    bool inviteOn = true;   // "inviteon"
    bool profile = true;    // "profile"
    // Game counters: [band][field]; band 0 total, 1 above, 2 equal, 3 below;
    // field 0 played, 1 won, 2 lost, 3 drawn ("totalt".."belowc").
    std::array<std::array<std::int32_t, 4>, 4> counters{};
};

struct MainFormInfo {
    std::int32_t top = 0, left = 0, width = 800, height = 600;
    std::int32_t lengthA = 139; // chat panel height
    std::int32_t lengthB = 57;  // user-list panel height
    bool tabDock = true;        // written, never read (always true after load)
    std::int32_t fontSize = 10; // chat input font size
};

struct GoMainFormInfo {
    std::int32_t top = 0, left = 0, width = 800, height = 600;
    std::int32_t lengthA = 91;
};

struct PrintOptionInfo {
    std::int32_t tMargin = 500, lMargin = 400, goGrid = 185, dspUnit = 0, splitNo = 50, perPage = 2, method = 1;
    bool color = false;
};

struct EnvironmentInfo {
    std::int32_t baseBoard = 1; // board pattern 1..4
    bool sendVHelp = true;
    bool recvVHelp = true;
    std::int32_t baseColor = 10; // index into StandardPalette
    std::int32_t autoTimeI = 1;  // replay interval in seconds, 1..100
    bool countVoice = true;      // "countvoice": the byo-yomi countdown is spoken
    std::string roomTitle;
    // [0] "rejectmsg", [1..9] "macrotext1".."macrotext9".
    std::array<std::string, 10> messages;
};

struct FriendEntry {
    std::string id;          // "friendid"
    std::string nickname;    // "friendnn"
    std::string rankText;    // "friendks"
    std::int32_t wins = 0;   // "friendsn"
    std::int32_t losses = 0; // "friendln"
};

struct FriendsInfo {
    static constexpr int kMax = 50;
    std::string lastPartner;               // "lpartner"
    std::int32_t findMode = 1;             // "findmode"
    std::int32_t count = 0;                // "nfriends", 0..kMax
    std::array<FriendEntry, kMax> friends; // entries 1..count are friends[0..count-1]
};

struct HostInfo {
    static constexpr int kMax = 10;
    std::string advHost;                      // "advhost"
    std::int32_t advPort = 8080;              // "advport"
    std::int32_t hostCount = 1;               // "ngohost", 0..kMax
    std::array<std::string, kMax> hosts;      // "zelhost"1..
    std::array<std::int32_t, kMax> ports{};   // "zelport"1..
    std::int32_t adFileCount = 5;             // "nadfile", 0..kMax
    std::array<std::string, kMax> adUrls;     // "aduaddr"1..
    std::array<std::int32_t, kMax> adSizes{}; // "adfsize"1..
    std::int32_t noteType = 1;
    std::array<std::string, 3> noteMsgs; // "notemsg1".."notemsg3"
};

struct ColorInfo {
    std::array<std::uint32_t, 18> baseColors{}; // "basecolor1".."basecolor18"
    std::int32_t terminalFc = 15, terminalBc = 10, terminTmFc = 2, terminTmBc = 6;
    std::int32_t mainCbFc = 2, mainCbBc = 17, mainCpBc = 18;
};

// Colour values 0x00BBGGRR, indices 1..18 (index 0 unused).
extern const std::array<std::uint32_t, 19> StandardPalette;

// The palette colour at `index`; an index outside 1..18 gives the colour of
// the default background (10), so a bad stored index never reads past the table.
std::uint32_t PaletteColor(int index);

// Deployment defaults: the bundled reference server on this machine.
struct SettingsDefaults {
    std::string zelpath; // program directory when none is stored
    std::string gibodir; // empty: zelpath + separator + "Gibo"
    std::string advhdir; // empty: zelpath + separator + "ADVH"
    char separator = '/';
    std::string serverHost = "127.0.0.1";
    std::int32_t gamePort = 5554;
    std::int32_t configPort = 8080;
};

// The settings store: loads every section at construction and saves one
// section at a time on request.
class TZelStatus {
public:
    static constexpr const char* kVersion = "000308A";

    // `onError` shows the message for an unknown section name.
    TZelStatus(SettingsBackend& backend, SettingsDefaults defaults = {},
               std::function<void(const std::string&)> onError = {});

    // mode 1 reads the section into its record, any other mode writes it;
    // `reset` first puts the record back to its first-run defaults.
    void SyncSection(const std::string& name, int mode, bool reset = false);
    void Save(const std::string& name) { SyncSection(name, 2, false); }

    bool FirstRun() const { return firstRun_; }

    CriticalInfo critical;
    LoginInfo login;
    MainFormInfo mainForm;
    GoMainFormInfo goMainForm;
    PrintOptionInfo printOption;
    EnvironmentInfo environment;
    FriendsInfo friends;
    HostInfo host;
    ColorInfo color;

    // The section names, in the order SyncSection compares them.
    static constexpr const char* kCritical = "Critical Info";
    static constexpr const char* kMainForm = "MainForm Info";
    static constexpr const char* kHost = "ADV & Host Info";
    static constexpr const char* kPrintOption = "Print Option Info";
    static constexpr const char* kColor = "Color Info";
    static constexpr const char* kGoMainForm = "Go MainForm Info";
    static constexpr const char* kLogin = "Login Info";
    static constexpr const char* kEnvironment = "Environment Info";
    static constexpr const char* kFriends = "Friends Info";
    static constexpr const char* kVersionSection = "HvnZel Complie Info";

private:
    void Load();

    void ResetCritical();
    void ResetLogin();
    void ResetMainForm();
    void ResetGoMainForm();
    void ResetPrintOption();
    void ResetEnvironment();
    void ResetFriends();
    void ResetHost();
    void ResetColor();

    void SyncCritical(bool read);
    void SyncLogin(bool read);
    void SyncMainForm(bool read);
    void SyncGoMainForm(bool read);
    void SyncPrintOption(bool read);
    void SyncEnvironment(bool read);
    void SyncFriends(bool read);
    void SyncHost(bool read);
    void SyncColor(bool read);

    std::string ReadText(const char* section, const std::string& key, const std::string& fallback);
    std::int32_t ReadInt(const char* section, const std::string& key, std::int32_t fallback);
    bool ReadBool(const char* section, const std::string& key, bool fallback);
    void WriteText(const char* section, const std::string& key, const std::string& value);
    void WriteInt(const char* section, const std::string& key, std::int32_t value);
    void WriteBool(const char* section, const std::string& key, bool value);
    // Reads a value into `field` (the fallback when it is missing or malformed)
    // or writes the field.
    void SyncText(const char* section, const std::string& key, std::string& field, const std::string& fallback,
                  bool read);
    void SyncInt(const char* section, const std::string& key, std::int32_t& field, std::int32_t fallback, bool read);
    void SyncBool(const char* section, const std::string& key, bool& field, bool fallback, bool read);
    // The position and size keys of a form's section.
    template <class Form> void SyncPlace(const char* section, Form& form, bool read);
    // A count of table entries, kept within 0..max whether read or written.
    void SyncCount(const char* section, const std::string& key, std::int32_t& count, std::int32_t fallback, int max,
                   bool read);

    std::string InDir(const std::string& dir, const char* name) const;
    std::string DefaultZelPath() const;
    std::string DefaultAdUrl(int n) const;
    std::int32_t DefaultAdSize(int n) const;

    SettingsBackend& backend_;
    SettingsDefaults defaults_;
    std::function<void(const std::string&)> onError_;
    bool firstRun_ = false;
};

// The key suffix of entry n (1-based): the character with code 48 + n.
inline char KeySuffix(int n)
{
    return static_cast<char>(48 + n);
}

} // namespace zel
