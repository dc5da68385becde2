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
    if (read) {
        // The program directory comes first: every later default is built from it.
        critical.zelpath = ReadText(s, "zelpath", DefaultZelPath());
        const std::string& dir = critical.zelpath;
        critical.dzelver = ReadText(s, "dzelver", kVersion);
        critical.gibodir = ReadText(s, "gibodir", defaults_.gibodir.empty() ? InDir(dir, "Gibo") : defaults_.gibodir);
        critical.advhdir = ReadText(s, "advhdir", defaults_.advhdir.empty() ? InDir(dir, "ADVH") : defaults_.advhdir);
        critical.convert = ReadText(s, "convert", InDir(dir, "Convert.Tbl"));
        critical.hanfont = ReadText(s, "hanfont", InDir(dir, "ZelH00.FNT"));
        critical.engfont = ReadText(s, "engfont", InDir(dir, "ZelE00.FNT"));
        critical.kssfont = ReadText(s, "kssfont", InDir(dir, "ZelKSS.FNT"));
        critical.sbsfont = ReadText(s, "sbsfont", InDir(dir, "ZelSBS.FNT"));
    } else {
        // The three directories belong to the installation and are never written.
        WriteText(s, "dzelver", critical.dzelver);
        WriteText(s, "convert", critical.convert);
        WriteText(s, "hanfont", critical.hanfont);
        WriteText(s, "engfont", critical.engfont);
        WriteText(s, "kssfont", critical.kssfont);
        WriteText(s, "sbsfont", critical.sbsfont);
    }
}

// --- Login Info ------------------------------------------------------------

void TZelStatus::ResetLogin()
{
    login = LoginInfo{};
}

void TZelStatus::SyncLogin(bool read)
{
    const char* s = kLogin;
    if (read) {
        login.userId = ReadText(s, "userid", "");
        login.nickname = ReadText(s, "nickname", "");
        login.password = ReadText(s, "password", "");
        login.level = ReadInt(s, "golevel", 0);
        login.savePass = ReadBool(s, "savepass", true);
        login.inviteOn = ReadBool(s, "inviteon", true);
        login.profile = ReadBool(s, "profile", true);
    } else {
        WriteText(s, "userid", login.userId);
        WriteText(s, "nickname", login.nickname);
        WriteText(s, "password", login.password);
        WriteInt(s, "golevel", login.level);
        WriteBool(s, "savepass", login.savePass);
        WriteBool(s, "inviteon", login.inviteOn);
        WriteBool(s, "profile", login.profile);
    }
    for (std::size_t band = 0; band < kBands.size(); ++band) {
        for (std::size_t field = 0; field < kFields.size(); ++field) {
            std::string key = std::string(kBands[band]) + kFields[field];
            if (read)
                login.counters[band][field] = ReadInt(s, key, 0);
            else
                WriteInt(s, key, login.counters[band][field]);
        }
    }
}

// --- MainForm Info and Go MainForm Info --------------------------------------

void TZelStatus::ResetMainForm()
{
    mainForm = MainFormInfo{};
}

void TZelStatus::SyncMainForm(bool read)
{
    const char* s = kMainForm;
    if (read) {
        mainForm.top = ReadInt(s, "fptop", 0);
        mainForm.left = ReadInt(s, "fpleft", 0);
        mainForm.width = ReadInt(s, "fpwidth", 800);
        mainForm.height = ReadInt(s, "fpheight", 600);
        mainForm.lengthA = ReadInt(s, "lengtha", 139);
        mainForm.lengthB = ReadInt(s, "lengthb", 57);
        mainForm.tabDock = true; // stored, but every start docks
        mainForm.fontSize = ReadInt(s, "fontsize", 10);
    } else {
        WriteInt(s, "fptop", mainForm.top);
        WriteInt(s, "fpleft", mainForm.left);
        WriteInt(s, "fpwidth", mainForm.width);
        WriteInt(s, "fpheight", mainForm.height);
        WriteInt(s, "lengtha", mainForm.lengthA);
        WriteInt(s, "lengthb", mainForm.lengthB);
        WriteBool(s, "tabdock", mainForm.tabDock);
        WriteInt(s, "fontsize", mainForm.fontSize);
    }
}

void TZelStatus::ResetGoMainForm()
{
    goMainForm = GoMainFormInfo{};
}

void TZelStatus::SyncGoMainForm(bool read)
{
    const char* s = kGoMainForm;
    if (read) {
        goMainForm.top = ReadInt(s, "fptop", 0);
        goMainForm.left = ReadInt(s, "fpleft", 0);
        goMainForm.width = ReadInt(s, "fpwidth", 800);
        goMainForm.height = ReadInt(s, "fpheight", 600);
        goMainForm.lengthA = ReadInt(s, "lengtha", 91);
    } else {
        WriteInt(s, "fptop", goMainForm.top);
        WriteInt(s, "fpleft", goMainForm.left);
        WriteInt(s, "fpwidth", goMainForm.width);
        WriteInt(s, "fpheight", goMainForm.height);
        WriteInt(s, "lengtha", goMainForm.lengthA);
    }
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
    if (read) {
        p.tMargin = ReadInt(s, "tmargin", 500);
        p.lMargin = ReadInt(s, "lmargin", 400);
        p.goGrid = ReadInt(s, "gogrid", 185);
        p.dspUnit = ReadInt(s, "dspunit", 0);
        p.splitNo = ReadInt(s, "splitno", 50);
        p.perPage = ReadInt(s, "perpage", 2);
        p.method = ReadInt(s, "method", 1);
        p.color = ReadBool(s, "color", false);
    } else {
        WriteInt(s, "tmargin", p.tMargin);
        WriteInt(s, "lmargin", p.lMargin);
        WriteInt(s, "gogrid", p.goGrid);
        WriteInt(s, "dspunit", p.dspUnit);
        WriteInt(s, "splitno", p.splitNo);
        WriteInt(s, "perpage", p.perPage);
        WriteInt(s, "method", p.method);
        WriteBool(s, "color", p.color);
    }
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
    if (read) {
        // Values that index tables elsewhere are kept within those tables.
        e.baseBoard = InRangeOr(ReadInt(s, "baseboard", 1), 1, 4, 1);
        e.sendVHelp = ReadBool(s, "sendvhelp", true);
        e.recvVHelp = ReadBool(s, "recvvhelp", true);
        e.baseColor = InRangeOr(ReadInt(s, "basecolor", 10), 1, 18, 10);
        e.autoTimeI = std::clamp<std::int32_t>(ReadInt(s, "autotimei", 1), 1, 100);
        e.roomTitle = ReadText(s, "roomtitle", "");
        e.messages[0] = ReadText(s, "rejectmsg", "");
        for (int i = 1; i <= 9; ++i)
            e.messages[static_cast<std::size_t>(i)] = ReadText(s, "macrotext" + std::to_string(i), "");
    } else {
        WriteInt(s, "baseboard", e.baseBoard);
        WriteBool(s, "sendvhelp", e.sendVHelp);
        WriteBool(s, "recvvhelp", e.recvVHelp);
        WriteInt(s, "basecolor", e.baseColor);
        WriteInt(s, "autotimei", e.autoTimeI);
        WriteText(s, "roomtitle", e.roomTitle);
        WriteText(s, "rejectmsg", e.messages[0]);
        for (int i = 1; i <= 9; ++i)
            WriteText(s, "macrotext" + std::to_string(i), e.messages[static_cast<std::size_t>(i)]);
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
    if (read) {
        f.lastPartner = ReadText(s, "lpartner", "");
        f.findMode = ReadInt(s, "findmode", 1);
        f.count = ClampCount(ReadInt(s, "nfriends", 0), FriendsInfo::kMax);
    } else {
        f.count = ClampCount(f.count, FriendsInfo::kMax);
        WriteText(s, "lpartner", f.lastPartner);
        WriteInt(s, "findmode", f.findMode);
        WriteInt(s, "nfriends", f.count);
    }
    for (int n = 1; n <= f.count; ++n) {
        FriendEntry& entry = f.friends[static_cast<std::size_t>(n - 1)];
        if (read) {
            entry.id = ReadText(s, WithSuffix("friendid", n), "");
            entry.nickname = ReadText(s, WithSuffix("friendnn", n), "");
            entry.rankText = ReadText(s, WithSuffix("friendks", n), "");
            entry.wins = ReadInt(s, WithSuffix("friendsn", n), 0);
            entry.losses = ReadInt(s, WithSuffix("friendln", n), 0);
        } else {
            WriteText(s, WithSuffix("friendid", n), entry.id);
            WriteText(s, WithSuffix("friendnn", n), entry.nickname);
            WriteText(s, WithSuffix("friendks", n), entry.rankText);
            WriteInt(s, WithSuffix("friendsn", n), entry.wins);
            WriteInt(s, WithSuffix("friendln", n), entry.losses);
        }
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
    if (read) {
        h.advHost = ReadText(s, "advhost", defaults_.serverHost);
        h.advPort = ReadInt(s, "advport", defaults_.configPort);
        h.hostCount = ClampCount(ReadInt(s, "ngohost", 1), HostInfo::kMax);
    } else {
        h.hostCount = ClampCount(h.hostCount, HostInfo::kMax);
        h.adFileCount = ClampCount(h.adFileCount, HostInfo::kMax);
        WriteText(s, "advhost", h.advHost);
        WriteInt(s, "advport", h.advPort);
        WriteInt(s, "ngohost", h.hostCount);
    }
    for (int n = 1; n <= h.hostCount; ++n) {
        auto i = static_cast<std::size_t>(n - 1);
        if (read) {
            h.hosts[i] = ReadText(s, WithSuffix("zelhost", n), defaults_.serverHost);
            h.ports[i] = ReadInt(s, WithSuffix("zelport", n), defaults_.gamePort);
        } else {
            WriteText(s, WithSuffix("zelhost", n), h.hosts[i]);
            WriteInt(s, WithSuffix("zelport", n), h.ports[i]);
        }
    }
    if (read)
        h.adFileCount = ClampCount(ReadInt(s, "nadfile", 5), HostInfo::kMax);
    else
        WriteInt(s, "nadfile", h.adFileCount);
    for (int n = 1; n <= h.adFileCount; ++n) {
        auto i = static_cast<std::size_t>(n - 1);
        if (read) {
            h.adUrls[i] = ReadText(s, WithSuffix("aduaddr", n), DefaultAdUrl(n));
            h.adSizes[i] = ReadInt(s, WithSuffix("adfsize", n), DefaultAdSize(n));
        } else {
            WriteText(s, WithSuffix("aduaddr", n), h.adUrls[i]);
            WriteInt(s, WithSuffix("adfsize", n), h.adSizes[i]);
        }
    }
    if (read)
        h.noteType = ReadInt(s, "notetype", 1);
    else
        WriteInt(s, "notetype", h.noteType);
    for (int n = 1; n <= 3; ++n) {
        std::string key = "notemsg" + std::to_string(n);
        auto i = static_cast<std::size_t>(n - 1);
        if (read)
            h.noteMsgs[i] = ReadText(s, key, "");
        else
            WriteText(s, key, h.noteMsgs[i]);
    }
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
    for (const Index& x : kIndices) {
        if (read)
            c.*x.field = ReadInt(s, x.key, x.fallback);
        else
            WriteInt(s, x.key, c.*x.field);
    }
}

} // namespace zel
