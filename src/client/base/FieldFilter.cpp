#include "client/base/FieldFilter.h"

#include <algorithm>

#include <QLineEdit>

#include "client/base/QtText.h"
#include "core/ports/Prompts.h"

namespace zel {

void ApplyFilter(QLineEdit* field, const QString& typed, const std::string& filtered)
{
    QString kept = ToQ(filtered);
    if (kept == typed)
        return;
    qsizetype after = typed.size() - field->cursorPosition();
    field->setText(kept);
    field->setCursorPosition(static_cast<int>(std::clamp<qsizetype>(kept.size() - after, 0, kept.size())));
}

void FilterTyping(QLineEdit* field, const QString& typed, FilteredText (*filter)(const std::string&), Prompts& prompts,
                  int noticeMs)
{
    FilteredText f = filter(FromQ(typed));
    ApplyFilter(field, typed, f.text);
    if (!f.notice.empty())
        prompts.Notify(f.notice, noticeMs);
}

} // namespace zel
