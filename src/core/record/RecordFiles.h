#pragma once
#include <memory>
#include <string>
#include <string_view>

#include "core/record/RecordHeader.h"

namespace zel {

class FileStore;
class Prompts;
class TGiboList;
class THelpList;

enum class RecordStatus {
    Ok,
    Refused,     // the file name is not a bare name
    ReadFailed,  // missing or unreadable file
    WriteFailed, // still failing after the store's retries
    TooLong,     // more lines than a record list holds
};

// What the record writer needs about a finished game.
struct TFinishedGame {
    std::string BlackId;
    std::string WhiteId;
    std::string GameKey;  // the 3-letter key of the game
    std::string DateText; // the date as ShortDateText writes it
    TRecordHeader Header; // Header.DateLine: the date, a blank and a further text
};

// Record files in the record directory. Every failure is shown to the user as
// a timed notice and returned; nothing outside the store's directory is ever
// read or written, and a file is never rewritten from a partial read.
class TRecordFiles {
public:
    TRecordFiles(FileStore& store, Prompts& prompts) : store_(store), prompts_(prompts) {}

    // Deletes the players' adjourned-game files, writes the header line and
    // recordLines (the board's RecordLinesText, lines already ended by CR LF)
    // and merges the pending commentary of game.GameKey. name receives the
    // record file name on success.
    RecordStatus WriteFinishedGame(const TFinishedGame& game, std::string_view recordLines, THelpList& pending,
                                   std::string& name);

    // Merges the lines pending under gameKey into the record file `name`.
    // Nothing happens when no line is pending. Lines stay pending when the
    // file cannot be read.
    RecordStatus MergePendingCommentary(const std::string& name, std::string_view gameKey, THelpList& pending);

    // Reads record file `name` into a new list (lines of 8 characters or
    // fewer are skipped) standing on Head. On failure the new list holds Head
    // alone, so saving it later leaves the file untouched.
    RecordStatus LoadRecordFile(const std::string& name, std::unique_ptr<TGiboList>& list);

    // Rewrites record file `name` from list; a list holding Head alone
    // leaves the file as it was.
    RecordStatus SaveToFile(const TGiboList& list, const std::string& name);

    // The notice shown for a failure (CP949).
    static std::string NoticeText(RecordStatus status);

private:
    RecordStatus Fail(RecordStatus status);
    RecordStatus ReadLines(const std::string& name, TGiboList& list, std::size_t minLength);

    FileStore& store_;
    Prompts& prompts_;
};

// Shown this long.
constexpr int kRecordNoticeMs = 3000;

} // namespace zel
