#include "core/settings/ZelStatus.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <string_view>

#include "core/base/Cp949.h"

namespace zel {

const std::array<std::uint32_t, 19> StandardPalette = {
    0x000000,                                                     // unused
    0x505050, 0x000000, 0x5050FF, 0x0000A0, 0x50F850,   0x00A700, // 1..6
    0x80FFFF, 0x00FFFF, 0xFF5050, 0x5A2C00, 0x400000,   0x804000, // 7..12
    0x808040, 0x404000, 0xFFFFFF, 0xA0A7A0, 0x8000000F, 0x7F7F7F, // 13..18
};

std::uint32_t PaletteColor(int index)
{
    if (index < 1 || index > 18)
        index = 10;
    return StandardPalette[static_cast<std::size_t>(index)];
}

namespace {

constexpr std::array<std::uint32_t, 18> kDefaultColors = {
    0x505050, 0x000000, 0x5050FF, 0x0000A0, 0x50F850, 0x00A700, 0x80FFFF, 0x00FFFF,   0xFF5050,
    0x400000, 0xFF50FF, 0xA000A0, 0xFFF850, 0xA0A700, 0xFFFFFF, 0xA0A7A0, 0x8000000F, 0x7F7F7F,
};
constexpr std::uint32_t kMissingColor = 0x8000000F; // system colour of button faces

// Counter key letters: bands and fields of LoginInfo::counters.
constexpr std::array<const char*, 4> kBands = {"total", "above", "equal", "below"};
constexpr std::array<char, 4> kFields = {'t', 'a', 'b', 'c'};

// A decimal number with an optional sign and surrounding blanks; nothing for
// anything else.
std::optional<std::int64_t> ParseDecimal(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty() || text.size() > 12)
        return std::nullopt;
    std::int64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return negative ? -value : value;
}

std::string WithSuffix(const char* prefix, int n)
{
    return std::string(prefix) + KeySuffix(n);
}

// A stored count is trusted only within the table it indexes.
std::int32_t ClampCount(std::int32_t count, int max)
{
    return std::clamp<std::int32_t>(count, 0, max);
}

std::int32_t InRangeOr(std::int32_t value, std::int32_t low, std::int32_t high, std::int32_t fallback)
{
    return value >= low && value <= high ? value : fallback;
}

} // namespace

TZelStatus::TZelStatus(SettingsBackend& backend, SettingsDefaults defaults,
                       std::function<void(const std::string&)> onError)
    : backend_(backend), defaults_(std::move(defaults)), onError_(std::move(onError))
{
    Load();
}

void TZelStatus::Load()
{
    std::string stored = ReadText(kVersionSection, "version", "");
    if (stored.empty()) {
        WriteText(kVersionSection, "version", kVersion);
        for (const char* name :
             {kCritical, kMainForm, kPrintOption, kHost, kColor, kGoMainForm, kLogin, kEnvironment, kFriends})
            SyncSection(name, 2, true);
    } else {
        if (stored != kVersion) {
            // An update keeps the user's settings but discards the old server list.
            WriteText(kVersionSection, "version", kVersion);
            WriteText(kCritical, "dzelver", kVersion);
            SyncSection(kHost, 2, true);
        }
        for (const char* name :
             {kLogin, kCritical, kMainForm, kPrintOption, kHost, kColor, kGoMainForm, kEnvironment, kFriends})
            SyncSection(name, 1, false);
    }
    firstRun_ = login.userId.empty();
}

void TZelStatus::SyncSection(const std::string& name, int mode, bool reset)
{
    struct Entry {
        const char* name;
        void (TZelStatus::*reset)();
        void (TZelStatus::*sync)(bool);
    };
    static constexpr Entry kSections[] = {
        {kCritical, &TZelStatus::ResetCritical, &TZelStatus::SyncCritical},
        {kMainForm, &TZelStatus::ResetMainForm, &TZelStatus::SyncMainForm},
        {kHost, &TZelStatus::ResetHost, &TZelStatus::SyncHost},
        {kPrintOption, &TZelStatus::ResetPrintOption, &TZelStatus::SyncPrintOption},
        {kColor, &TZelStatus::ResetColor, &TZelStatus::SyncColor},
        {kGoMainForm, &TZelStatus::ResetGoMainForm, &TZelStatus::SyncGoMainForm},
        {kLogin, &TZelStatus::ResetLogin, &TZelStatus::SyncLogin},
        {kEnvironment, &TZelStatus::ResetEnvironment, &TZelStatus::SyncEnvironment},
        {kFriends, &TZelStatus::ResetFriends, &TZelStatus::SyncFriends},
    };
    for (const Entry& e : kSections) {
        if (name != e.name)
            continue;
        if (reset)
            (this->*e.reset)();
        bool read = mode == 1;
        (this->*e.sync)(read);
        if (!read)
            backend_.Flush();
        return;
    }
    if (onError_)
        onError_("Wrong Sectiontion name");
}

// --- stored values -------------------------------------------------------

std::string TZelStatus::ReadText(const char* section, const std::string& key, const std::string& fallback)
{
    auto value = backend_.Read(section, key);
    return value ? *value : fallback;
}

std::int32_t TZelStatus::ReadInt(const char* section, const std::string& key, std::int32_t fallback)
{
    auto value = backend_.Read(section, key);
    if (!value)
        return fallback;
    auto number = ParseDecimal(*value);
    if (!number || *number < std::numeric_limits<std::int32_t>::min() ||
        *number > std::numeric_limits<std::int32_t>::max())
        return fallback;
    return static_cast<std::int32_t>(*number);
}

bool TZelStatus::ReadBool(const char* section, const std::string& key, bool fallback)
{
    return ReadInt(section, key, fallback ? 1 : 0) != 0;
}

void TZelStatus::WriteText(const char* section, const std::string& key, const std::string& value)
{
    backend_.Write(section, key, value);
}

void TZelStatus::WriteInt(const char* section, const std::string& key, std::int32_t value)
{
    backend_.Write(section, key, std::to_string(value));
}

void TZelStatus::WriteBool(const char* section, const std::string& key, bool value)
{
    backend_.Write(section, key, value ? "1" : "0");
}

void TZelStatus::SyncText(const char* section, const std::string& key, std::string& field, const std::string& fallback,
                          bool read)
{
    if (read)
        field = ReadText(section, key, fallback);
    else
        WriteText(section, key, field);
}

void TZelStatus::SyncInt(const char* section, const std::string& key, std::int32_t& field, std::int32_t fallback,
                         bool read)
{
    if (read)
        field = ReadInt(section, key, fallback);
    else
        WriteInt(section, key, field);
}

void TZelStatus::SyncBool(const char* section, const std::string& key, bool& field, bool fallback, bool read)
{
    if (read)
        field = ReadBool(section, key, fallback);
    else
        WriteBool(section, key, field);
}

void TZelStatus::SyncCount(const char* section, const std::string& key, std::int32_t& count, std::int32_t fallback,
                           int max, bool read)
{
    count = ClampCount(count, max);
    SyncInt(section, key, count, fallback, read);
    count = ClampCount(count, max);
}

// --- defaults ------------------------------------------------------------

std::string TZelStatus::InDir(const std::string& dir, const char* name) const
{
    if (!dir.empty() && dir.back() == defaults_.separator)
        return dir + name;
    return dir + defaults_.separator + name;
}

std::string TZelStatus::DefaultZelPath() const
{
    if (!defaults_.zelpath.empty())
        return defaults_.zelpath;
    return defaults_.separator == '\\' ? "C:\\HvnZel" : "HvnZel";
}

std::string TZelStatus::DefaultAdUrl(int) const
{
    return "http://" + defaults_.serverHost + ":" + std::to_string(defaults_.configPort) + "/";
}

std::int32_t TZelStatus::DefaultAdSize(int n) const
{
    static constexpr std::array<std::int32_t, 5> kSizes = {358, 5678, 2998, 4923, 4923};
    return n >= 1 && n <= 5 ? kSizes[static_cast<std::size_t>(n - 1)] : 0;
}

// --- Critical Info ---------------------------------------------------------

void TZelStatus::ResetCritical()
{
    critical = CriticalInfo{};
    critical.dzelver = kVersion;
    critical.zelpath = ReadText(kCritical, "zelpath", DefaultZelPath());
    critical.gibodir =
        ReadText(kCritical, "gibodir", defaults_.gibodir.empty() ? InDir(critical.zelpath, "Gibo") : defaults_.gibodir);
    critical.advhdir =
        ReadText(kCritical, "advhdir", defaults_.advhdir.empty() ? InDir(critical.zelpath, "ADVH") : defaults_.advhdir);
    critical.convert = InDir(critical.zelpath, "Convert.Tbl");
    critical.hanfont = InDir(critical.zelpath, "ZelH00.FNT");
    critical.engfont = InDir(critical.zelpath, "ZelE00.FNT");
    critical.kssfont = InDir(critical.zelpath, "ZelKSS.FNT");
    critical.sbsfont = InDir(critical.zelpath, "ZelSBS.FNT");
}

void TZelStatus::SyncCritical(bool read)
{
    const char* s = kCritical;
    // The program directory comes first: every later default is built from it.
    // The three directories belong to the installation and are never written.
    if (read)
        critical.zelpath = ReadText(s, "zelpath", DefaultZelPath());
    const std::string& dir = critical.zelpath;
    SyncText(s, "dzelver", critical.dzelver, kVersion, read);
    if (read) {
        critical.gibodir = ReadText(s, "gibodir", defaults_.gibodir.empty() ? InDir(dir, "Gibo") : defaults_.gibodir);
        critical.advhdir = ReadText(s, "advhdir", defaults_.advhdir.empty() ? InDir(dir, "ADVH") : defaults_.advhdir);
    }
    SyncText(s, "convert", critical.convert, InDir(dir, "Convert.Tbl"), read);
    SyncText(s, "hanfont", critical.hanfont, InDir(dir, "ZelH00.FNT"), read);
    SyncText(s, "engfont", critical.engfont, InDir(dir, "ZelE00.FNT"), read);
    SyncText(s, "kssfont", critical.kssfont, InDir(dir, "ZelKSS.FNT"), read);
    SyncText(s, "sbsfont", critical.sbsfont, InDir(dir, "ZelSBS.FNT"), read);
}

// --- Login Info ------------------------------------------------------------

void TZelStatus::ResetLogin()
{
    login = LoginInfo{};
}

void TZelStatus::SyncLogin(bool read)
{
    const char* s = kLogin;
    SyncText(s, "userid", login.userId, "", read);
    SyncText(s, "nickname", login.nickname, "", read);
    SyncText(s, "password", login.password, "", read);
    SyncInt(s, "golevel", login.level, 0, read);
    SyncBool(s, "savepass", login.savePass, true, read);
    SyncBool(s, "inviteon", login.inviteOn, true, read);
    SyncBool(s, "profile", login.profile, true, read);
    for (std::size_t band = 0; band < kBands.size(); ++band) {
        for (std::size_t field = 0; field < kFields.size(); ++field)
            SyncInt(s, std::string(kBands[band]) + kFields[field], login.counters[band][field], 0, read);
    }
}

// --- MainForm Info and Go MainForm Info --------------------------------------

template <class Form> void TZelStatus::SyncPlace(const char* section, Form& form, bool read)
{
    SyncInt(section, "fptop", form.top, 0, read);
    SyncInt(section, "fpleft", form.left, 0, read);
    SyncInt(section, "fpwidth", form.width, 800, read);
    SyncInt(section, "fpheight", form.height, 600, read);
}

void TZelStatus::ResetMainForm()
{
    mainForm = MainFormInfo{};
}

void TZelStatus::SyncMainForm(bool read)
{
    const char* s = kMainForm;
    SyncPlace(s, mainForm, read);
    SyncInt(s, "lengtha", mainForm.lengthA, 139, read);
    SyncInt(s, "lengthb", mainForm.lengthB, 57, read);
    if (read)
        mainForm.tabDock = true; // stored, but every start docks
    else
        WriteBool(s, "tabdock", mainForm.tabDock);
    SyncInt(s, "fontsize", mainForm.fontSize, 10, read);
}

void TZelStatus::ResetGoMainForm()
{
    goMainForm = GoMainFormInfo{};
}

void TZelStatus::SyncGoMainForm(bool read)
{
    const char* s = kGoMainForm;
    SyncPlace(s, goMainForm, read);
    SyncInt(s, "lengtha", goMainForm.lengthA, 91, read);
}

// --- Print Option Info -------------------------------------------------------

void TZelStatus::ResetPrintOption()
{
    printOption = PrintOptionInfo{};
}

void TZelStatus::SyncPrintOption(bool read)
{
    const char* s = kPrintOption;
    PrintOptionInfo& p = printOption;
    SyncInt(s, "tmargin", p.tMargin, 500, read);
    SyncInt(s, "lmargin", p.lMargin, 400, read);
    SyncInt(s, "gogrid", p.goGrid, 185, read);
    SyncInt(s, "dspunit", p.dspUnit, 0, read);
    SyncInt(s, "splitno", p.splitNo, 50, read);
    SyncInt(s, "perpage", p.perPage, 2, read);
    SyncInt(s, "method", p.method, 1, read);
    SyncBool(s, "color", p.color, false, read);
}

// --- Environment Info --------------------------------------------------------

void TZelStatus::ResetEnvironment()
{
    environment = EnvironmentInfo{};
    environment.messages[1] = KS("안녕하세요.");
    environment.messages[2] = KS("어서오세요.");
    environment.messages[3] = KS("꾸벅~ 잘 부탁 드립니다.");
    environment.messages[4] = KS("잘 두었습니다.");
}

void TZelStatus::SyncEnvironment(bool read)
{
    const char* s = kEnvironment;
    EnvironmentInfo& e = environment;
    SyncInt(s, "baseboard", e.baseBoard, 1, read);
    SyncBool(s, "sendvhelp", e.sendVHelp, true, read);
    SyncBool(s, "recvvhelp", e.recvVHelp, true, read);
    SyncInt(s, "basecolor", e.baseColor, 10, read);
    SyncInt(s, "autotimei", e.autoTimeI, 1, read);
    SyncBool(s, "countvoice", e.countVoice, true, read);
    SyncText(s, "roomtitle", e.roomTitle, "", read);
    SyncText(s, "rejectmsg", e.messages[0], "", read);
    for (int i = 1; i <= 9; ++i)
        SyncText(s, "macrotext" + std::to_string(i), e.messages[static_cast<std::size_t>(i)], "", read);
    if (read) {
        // Values that index tables elsewhere are kept within those tables.
        e.baseBoard = InRangeOr(e.baseBoard, 1, 4, 1);
        e.baseColor = InRangeOr(e.baseColor, 1, 18, 10);
        e.autoTimeI = std::clamp<std::int32_t>(e.autoTimeI, 1, 100);
    }
}

// --- Friends Info ------------------------------------------------------------

void TZelStatus::ResetFriends()
{
    friends = FriendsInfo{};
}

void TZelStatus::SyncFriends(bool read)
{
    const char* s = kFriends;
    FriendsInfo& f = friends;
    SyncText(s, "lpartner", f.lastPartner, "", read);
    SyncInt(s, "findmode", f.findMode, 1, read);
    SyncCount(s, "nfriends", f.count, 0, FriendsInfo::kMax, read);
    for (int n = 1; n <= f.count; ++n) {
        FriendEntry& entry = f.friends[static_cast<std::size_t>(n - 1)];
        SyncText(s, WithSuffix("friendid", n), entry.id, "", read);
        SyncText(s, WithSuffix("friendnn", n), entry.nickname, "", read);
        SyncText(s, WithSuffix("friendks", n), entry.rankText, "", read);
        SyncInt(s, WithSuffix("friendsn", n), entry.wins, 0, read);
        SyncInt(s, WithSuffix("friendln", n), entry.losses, 0, read);
    }
}

// --- ADV & Host Info ---------------------------------------------------------

void TZelStatus::ResetHost()
{
    host = HostInfo{};
    host.advHost = defaults_.serverHost;
    host.advPort = defaults_.configPort;
    host.hostCount = 1;
    host.hosts[0] = defaults_.serverHost;
    host.ports[0] = defaults_.gamePort;
    host.adFileCount = 5;
    for (int n = 1; n <= host.adFileCount; ++n) {
        host.adUrls[static_cast<std::size_t>(n - 1)] = DefaultAdUrl(n);
        host.adSizes[static_cast<std::size_t>(n - 1)] = DefaultAdSize(n);
    }
    host.noteType = 1;
}

void TZelStatus::SyncHost(bool read)
{
    const char* s = kHost;
    HostInfo& h = host;
    SyncText(s, "advhost", h.advHost, defaults_.serverHost, read);
    SyncInt(s, "advport", h.advPort, defaults_.configPort, read);
    SyncCount(s, "ngohost", h.hostCount, 1, HostInfo::kMax, read);
    for (int n = 1; n <= h.hostCount; ++n) {
        auto i = static_cast<std::size_t>(n - 1);
        SyncText(s, WithSuffix("zelhost", n), h.hosts[i], defaults_.serverHost, read);
        SyncInt(s, WithSuffix("zelport", n), h.ports[i], defaults_.gamePort, read);
    }
    SyncCount(s, "nadfile", h.adFileCount, 5, HostInfo::kMax, read);
    for (int n = 1; n <= h.adFileCount; ++n) {
        auto i = static_cast<std::size_t>(n - 1);
        SyncText(s, WithSuffix("aduaddr", n), h.adUrls[i], DefaultAdUrl(n), read);
        SyncInt(s, WithSuffix("adfsize", n), h.adSizes[i], DefaultAdSize(n), read);
    }
    SyncInt(s, "notetype", h.noteType, 1, read);
    for (int n = 1; n <= 3; ++n)
        SyncText(s, "notemsg" + std::to_string(n), h.noteMsgs[static_cast<std::size_t>(n - 1)], "", read);
}

// --- Color Info --------------------------------------------------------------

void TZelStatus::ResetColor()
{
    color = ColorInfo{};
    color.baseColors = kDefaultColors;
}

void TZelStatus::SyncColor(bool read)
{
    const char* s = kColor;
    ColorInfo& c = color;
    for (int n = 1; n <= 18; ++n) {
        std::string key = "basecolor" + std::to_string(n);
        auto i = static_cast<std::size_t>(n - 1);
        if (read) {
            // Colours are stored as signed 32-bit decimals; an unsigned form is accepted too.
            auto value = backend_.Read(s, key);
            auto number = value ? ParseDecimal(*value) : std::nullopt;
            bool fits = number && *number >= std::numeric_limits<std::int32_t>::min() &&
                        *number <= std::numeric_limits<std::uint32_t>::max();
            c.baseColors[i] = fits ? static_cast<std::uint32_t>(*number) : kMissingColor;
        } else {
            WriteInt(s, key, static_cast<std::int32_t>(c.baseColors[i]));
        }
    }
    struct Index {
        const char* key;
        std::int32_t ColorInfo::*field;
        std::int32_t fallback;
    };
    static constexpr Index kIndices[] = {
        {"terminalfc", &ColorInfo::terminalFc, 15}, {"terminalbc", &ColorInfo::terminalBc, 10},
        {"termintmfc", &ColorInfo::terminTmFc, 2},  {"termintmbc", &ColorInfo::terminTmBc, 6},
        {"maincbfc", &ColorInfo::mainCbFc, 2},      {"maincbbc", &ColorInfo::mainCbBc, 17},
        {"maincpbc", &ColorInfo::mainCpBc, 18},
    };
    for (const Index& x : kIndices)
        SyncInt(s, x.key, c.*x.field, x.fallback, read);
}

} // namespace zel
