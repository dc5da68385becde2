#include "CliClient.h"

#include "core/base/Bytes.h"
#include "core/base/Cp949.h"
#include "core/net/PacketCodes.h"
#include "core/net/PacketHeader.h"

#include <cstdio>
#include <sstream>

namespace zel::cli {

namespace {

// Splits off the first blank-separated word; `rest` keeps the remainder.
std::string Word(const std::string& line, std::string& rest)
{
    std::size_t start = line.find_first_not_of(' ');
    if (start == std::string::npos) {
        rest.clear();
        return {};
    }
    std::size_t end = line.find(' ', start);
    std::string word = line.substr(start, end == std::string::npos ? std::string::npos : end - start);
    std::size_t next = end == std::string::npos ? std::string::npos : line.find_first_not_of(' ', end);
    rest = next == std::string::npos ? std::string{} : line.substr(next);
    return word;
}

bool AllDigits(const std::string& s)
{
    return !s.empty() && s.find_first_not_of("0123456789") == std::string::npos && s.size() < 9;
}

} // namespace

CliClient::CliClient(Options options)
    : options_(std::move(options)), sender_(transport_, [this] { return transport_.IsConnected(); }),
      dispatch_(sender_, LobbySettings{login_, friends_, environment_, {}}, clock_, *this, noGame_),
      queue_(clock_, random_)
{
    transport_.SetEvents(this);
    dispatch_.SetPacketQueue(&queue_);
    queue_.SetOnWire([this](const std::string& piece) { dispatch_.SendRoomRaw(piece); });
    queue_.SetOnMessage([this](const std::string& message) {
        Out("queue " + (message.size() > 4 ? message.substr(4) : std::string{}));
    });
}

void CliClient::Out(const std::string& line)
{
    std::string text = options_.utf8 ? Cp949ToUtf8(line) : line;
    for (char& c : text) {
        if (c == '\r' || c == '\n' || c == '\0')
            c = ' ';
    }
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
    history_.push_back(std::move(text));
}

std::string CliClient::In(const std::string& text) const
{
    return options_.utf8 ? Utf8ToCp949(text) : text;
}

void CliClient::OnConnected()
{
    Out("connected");
}

void CliClient::OnBytes(const std::uint8_t* data, std::size_t size)
{
    assembler_.Feed(
        data, size, [] { return true; }, [this](const std::uint8_t* p, std::size_t n) { HandlePacket(p, n); });
}

void CliClient::OnClosed()
{
    Out("closed");
    dispatch_.OnConnectionCleanup();
    assembler_.Reset();
    queue_.Clear();
}

void CliClient::OnError(TransportError error)
{
    Out("error " + std::to_string(static_cast<int>(error)));
}

void CliClient::HandlePacket(const std::uint8_t* p, std::size_t n)
{
    PacketHeader h = PacketHeader::Decode(p);
    switch (h.code) {
    case pk::RoomText:
    case pk::NoticeText:
        Out(std::string(h.code == pk::RoomText ? "room" : "notice") + " from=" + std::to_string(h.argument) + " " +
            std::string(reinterpret_cast<const char*>(p + 6), n - 6));
        break;
    case pk::PrivateText:
        Out("private from=" + std::to_string(GetU16(p + 8)) + " memo=" + std::to_string(p[10]) + " " +
            GetText(p + 11, n - 11));
        break;
    default:
        Out("recv code=" + std::to_string(h.code) + " len=" + std::to_string(h.length) +
            " arg=" + std::to_string(h.argument));
        break;
    }
    if (h.code == pk::Greeting) {
        SendLogin();
        return;
    }
    if (h.code == pk::DuplicateLogin || h.code == pk::ServerBye) {
        Out(h.code == pk::DuplicateLogin ? "duplicate" : "bye");
        transport_.Close();
        return;
    }
    dispatch_.OnPacket(p, n);
    if (h.code == pk::LoginAccepted && dispatch_.Model()) {
        const TCManager& m = *dispatch_.Model();
        Out("login user=" + std::to_string(m.ownUser) + " room=" + std::to_string(m.ownRoom) +
            " size=" + std::to_string(m.Count()));
    }
}

void CliClient::SendLogin()
{
    std::uint8_t* s = sender_.Staging(pk::Login);
    std::fill(s, s + 38, std::uint8_t{0});
    s[4] = static_cast<std::uint8_t>(identity_.invitations);
    s[5] = static_cast<std::uint8_t>(identity_.profile);
    s[6] = static_cast<std::uint8_t>(identity_.level);
    PutText(s + 20, 8, identity_.id);
    PutText(s + 28, 10, identity_.nickname);
    sender_.SendPacket(pk::Login, 38);
}

void CliClient::Print(const std::string& line, bool)
{
    Out("print " + line);
}

void CliClient::LobbyEntered()
{
    Out("lobby");
}

void CliClient::RoomViewChanged(int kind, int user)
{
    const TCManager* m = dispatch_.Model();
    if (!m || m->CheckUser(user) != 0)
        return;
    if (kind == ChangeAdded)
        Out("enter user=" + std::to_string(user) + " id=" + m->User(user).id +
            " room=" + std::to_string(m->User(user).room));
    else if (kind == ChangeRemoved)
        Out("exit user=" + std::to_string(user) + " id=" + m->User(user).id);
}

void CliClient::UserViewChanged(int kind, int user)
{
    const TCManager* m = dispatch_.Model();
    if (!m || m->CheckUser(user) != 0)
        return;
    if (kind == ChangeAdded)
        Out("arrive user=" + std::to_string(user) + " id=" + m->User(user).id + " nick=" + m->User(user).nickname);
    else if (kind == ChangeRemoved)
        Out("depart user=" + std::to_string(user) + " id=" + m->User(user).id);
}

void CliClient::InvitationOpened(const TInvitation& invitation)
{
    Out("invitation code=" + std::to_string(invitation.code) + " " + invitation.firstLine + " / " +
        invitation.secondLine);
}

void CliClient::InvitationClosed()
{
    Out("invitation closed");
}

void CliClient::ListUsers()
{
    const TCManager* m = dispatch_.Model();
    if (!m)
        return Out("users none");
    for (int u = 0; u < m->Count(); ++u) {
        const UserRecord& r = m->User(u);
        if (r.room < 0)
            continue;
        Out("user " + std::to_string(u) + " id=" + r.id + " nick=" + r.nickname + " rank=" + r.rankText + " room=" +
            std::to_string(r.room) + " status=" + std::to_string(r.status) + " handle=" + std::to_string(r.handle));
    }
    Out("users end");
}

void CliClient::ListRooms()
{
    const TCManager* m = dispatch_.Model();
    if (!m)
        return Out("rooms none");
    for (int r = 0; r < m->Count(); ++r) {
        std::vector<int> members = m->Members(r);
        if (members.empty() && r != 0)
            continue;
        const RoomRecord& room = m->Room(r);
        std::string ids;
        for (int u : members)
            ids += (ids.empty() ? "" : ",") + m->User(u).id;
        Out("room " + std::to_string(r) + " state=" + std::to_string(room.state) +
            " people=" + std::to_string(room.people) + " owner=" + std::to_string(room.owner) + " members=" + ids +
            " title=" + room.title + " line=" + room.line);
    }
    Out("rooms end");
}

CliClient::Step CliClient::Execute(const std::string& raw)
{
    std::string line = raw;
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n'))
        line.pop_back();
    std::string rest;
    std::string cmd = Word(line, rest);
    if (cmd.empty() || cmd[0] == '#')
        return Step::Next;
    std::string arg = In(rest);
    auto userById = [this](const std::string& id) {
        const TCManager* m = dispatch_.Model();
        return m ? m->FindUser(id) : -1;
    };
    if (cmd == "login") {
        std::string more;
        std::string id = Word(arg, more);
        std::string nick = Word(more, more);
        identity_.id = id.size() < 4 ? id + "AAAA" : id;
        identity_.id.resize(std::min<std::size_t>(identity_.id.size(), 8));
        identity_.nickname = nick.empty() ? "A" : nick.substr(0, Cp949PrefixLength(nick, 8));
        identity_.level = AllDigits(more) ? std::stoi(more) : 18;
        dispatch_.SetIdentity(identity_);
        transport_.Open(options_.host, options_.port);
    } else if (cmd == "make" || cmd == "multi") {
        dispatch_.MakeRoom(arg, cmd == "multi");
    } else if (cmd == "title") {
        dispatch_.ChangeTitle(arg);
    } else if (cmd == "enter") {
        if (AllDigits(rest))
            dispatch_.EnterRoom(std::stoi(rest));
    } else if (cmd == "say") {
        dispatch_.SendRoom(arg);
    } else if (cmd == "raw") {
        dispatch_.SendRoomRaw(arg);
    } else if (cmd == "notice") {
        dispatch_.SendNotice(arg);
    } else if (cmd == "tell" || cmd == "memo") {
        std::string text;
        std::string id = Word(arg, text);
        if (!dispatch_.SendPrivateTo(id, text, cmd == "memo"))
            Out("! no user " + id);
    } else if (cmd == "queue") {
        if (!queue_.Enqueue("XA" + arg))
            Out("! queue refused");
    } else if (cmd == "invite" || cmd == "ginvite" || cmd == "request") {
        int u = userById(arg);
        if (u < 0)
            Out("! no user " + arg);
        else if (cmd == "invite")
            dispatch_.SendRoomInvite(u);
        else if (cmd == "ginvite")
            dispatch_.SendGameInvite(u);
        else
            dispatch_.SendGameRequest(u);
    } else if (cmd == "accept") {
        dispatch_.AcceptInvitation();
    } else if (cmd == "refuse") {
        if (TInvitation* inv = dispatch_.Invitation(); inv && !arg.empty())
            inv->refusal = arg;
        dispatch_.RefuseInvitation();
    } else if (cmd == "wait") {
        std::string pattern = rest;
        int ms = options_.defaultWaitMs;
        std::size_t blank = rest.rfind(' ');
        if (blank != std::string::npos && AllDigits(rest.substr(blank + 1))) {
            ms = std::stoi(rest.substr(blank + 1));
            pattern = rest.substr(0, blank);
        }
        try {
            waitFor_ = std::regex(pattern);
        } catch (const std::regex_error&) {
            Out("! bad pattern " + pattern);
            status_ = 2;
            return Step::Quit;
        }
        waitText_ = pattern;
        waiting_ = true;
        waitUntil_ = ms;
        sleepUntil_ = clock_.Now();
        return Step::Wait;
    } else if (cmd == "sleep") {
        sleeping_ = true;
        waitUntil_ = AllDigits(rest) ? std::stoi(rest) : 0;
        sleepUntil_ = clock_.Now();
        return Step::Wait;
    } else if (cmd == "echo") {
        Out(arg);
    } else if (cmd == "users") {
        ListUsers();
    } else if (cmd == "rooms") {
        ListRooms();
    } else if (cmd == "quit") {
        return Step::Quit;
    } else {
        Out("! unknown command " + cmd);
    }
    return Step::Next;
}

bool CliClient::WaitSatisfied()
{
    for (; cursor_ < history_.size(); ++cursor_) {
        if (std::regex_search(history_[cursor_], waitFor_)) {
            ++cursor_;
            return true;
        }
    }
    return false;
}

int CliClient::Run(int inputFd, bool (*readInput)(CliClient&))
{
    for (;;) {
        while (!waiting_ && !sleeping_ && !quitting_ && !commands_.empty()) {
            std::string line = commands_.front();
            commands_.pop_front();
            if (Execute(line) == Step::Quit) {
                quitting_ = true;
                quitSince_ = clock_.Now();
                dispatch_.Leave();
            }
        }
        if (!quitting_ && commands_.empty() && endOfInput_ && !waiting_ && !sleeping_) {
            quitting_ = true;
            quitSince_ = clock_.Now();
            dispatch_.Leave();
        }
        if (quitting_ && (!transport_.IsOpen() || Elapsed(clock_.Now(), quitSince_) >= 4500))
            break;
        bool wantInput = inputFd >= 0 && !endOfInput_;
        if (transport_.Poll(10, wantInput ? inputFd : -1) && readInput)
            readInput(*this);
        std::int32_t now = clock_.Now();
        queue_.Tick(now);
        dispatch_.Tick(now);
        if (waiting_) {
            if (WaitSatisfied()) {
                waiting_ = false;
            } else if (Elapsed(now, sleepUntil_) >= waitUntil_) {
                Out("! timeout waiting for " + waitText_);
                waiting_ = false;
                status_ = 2;
                commands_.clear();
                commands_.push_back("quit");
            }
        }
        if (sleeping_ && Elapsed(now, sleepUntil_) >= waitUntil_)
            sleeping_ = false;
    }
    transport_.Close();
    return status_;
}

} // namespace zel::cli
