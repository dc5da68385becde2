#include "core/record/RecordFiles.h"

#include "core/base/Cp949.h"
#include "core/ports/FileStore.h"
#include "core/ports/Prompts.h"
#include "core/record/GiboList.h"
#include "core/record/HelpList.h"
#include "core/record/SafeName.h"

namespace zel {

std::string TRecordFiles::NoticeText(RecordStatus status)
{
    switch (status) {
    case RecordStatus::Refused:
        return KS("기보 파일 이름이 올바르지 않아 처리하지 않았습니다.");
    case RecordStatus::ReadFailed:
        return KS("기보 파일을 읽을 수 없습니다.");
    case RecordStatus::WriteFailed:
        return KS("기보 파일을 저장하지 못했습니다.");
    case RecordStatus::TooLong:
        return KS("기보가 너무 길어 처리하지 못했습니다.");
    case RecordStatus::Ok:
        break;
    }
    return {};
}

RecordStatus TRecordFiles::Fail(RecordStatus status)
{
    prompts_.Notify(NoticeText(status), kRecordNoticeMs);
    return status;
}

RecordStatus TRecordFiles::ReadLines(const std::string& name, TGiboList& list, std::size_t minLength)
{
    if (!IsBareName(name))
        return RecordStatus::Refused;
    std::string text;
    if (!store_.Read(name, text))
        return RecordStatus::ReadFailed;
    if (!AddRecordText(text, list, minLength))
        return RecordStatus::TooLong;
    return RecordStatus::Ok;
}

RecordStatus TRecordFiles::WriteFinishedGame(const TFinishedGame& game, std::string_view recordLines,
                                             THelpList& pending, std::string& name)
{
    const std::string fileName = RecordFileName(game.DateText, game.BlackId, game.WhiteId, game.GameKey);
    if (fileName.empty())
        return Fail(RecordStatus::Refused);
    for (const std::string& adjourned : {game.BlackId + game.WhiteId + ".tmp", game.WhiteId + game.BlackId + ".tmp"})
        if (IsBareName(adjourned) && store_.Exists(adjourned))
            store_.Remove(adjourned);

    std::string text = RecordHeaderLine(game.Header);
    text += "\r\n";
    text += recordLines;
    if (!store_.Write(fileName, text))
        return Fail(RecordStatus::WriteFailed);
    name = fileName;
    return MergePendingCommentary(fileName, game.GameKey, pending);
}

RecordStatus TRecordFiles::MergePendingCommentary(const std::string& name, std::string_view gameKey, THelpList& pending)
{
    if (pending.Count() == 0 || gameKey != pending.Key())
        return RecordStatus::Ok;
    TGiboList list;
    const RecordStatus read = ReadLines(name, list, 0);
    if (read != RecordStatus::Ok)
        return Fail(read);
    pending.FlushInto(gameKey, list);
    return SaveToFile(list, name);
}

RecordStatus TRecordFiles::LoadRecordFile(const std::string& name, std::unique_ptr<TGiboList>& list)
{
    list = std::make_unique<TGiboList>();
    const RecordStatus read = ReadLines(name, *list, 9);
    if (read != RecordStatus::Ok) {
        // An empty record: saving it later leaves the file as it was.
        list = std::make_unique<TGiboList>();
        return Fail(read);
    }
    list->SetCurrent(list->Head());
    return RecordStatus::Ok;
}

RecordStatus TRecordFiles::SaveToFile(const TGiboList& list, const std::string& name)
{
    const std::string text = list.FileText();
    if (text.empty())
        return RecordStatus::Ok;
    if (!IsBareName(name))
        return Fail(RecordStatus::Refused);
    if (!store_.Write(name, text))
        return Fail(RecordStatus::WriteFailed);
    return RecordStatus::Ok;
}

} // namespace zel
