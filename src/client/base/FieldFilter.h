#pragma once
#include <string>

#include <QString>

class QLineEdit;

namespace zel {

// Puts the filtered text (CP949) back into a typing field, keeping the caret
// after the characters the user had typed before it. Nothing changes when the
// filter kept everything.
void ApplyFilter(QLineEdit* field, const QString& typed, const std::string& filtered);

} // namespace zel
