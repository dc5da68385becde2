#pragma once
#include <string>

#include <QString>

#include "core/lobby/IdentityRules.h"

class QLineEdit;

namespace zel {

class Prompts;

// Puts the filtered text (CP949) back into a typing field, keeping the caret
// after the characters the user had typed before it. Nothing changes when the
// filter kept everything.
void ApplyFilter(QLineEdit* field, const QString& typed, const std::string& filtered);

// Runs `filter` over what was typed into `field`, applies the result as
// ApplyFilter does and shows the filter's notice, if any, for `noticeMs`.
void FilterTyping(QLineEdit* field, const QString& typed, FilteredText (*filter)(const std::string&), Prompts& prompts,
                  int noticeMs);

} // namespace zel
