#pragma once
#include <QDialog>
#include <string>

class QCheckBox;
class QLineEdit;

namespace zel {

// "방 만들기": a title and the multi-game box.
class TMakeRoomForm : public QDialog {
    Q_OBJECT
public:
    explicit TMakeRoomForm(QWidget* parent = nullptr);

    // The title as sent: CP949, at most 31 characters.
    std::string Title() const;
    bool Multi() const;

    QLineEdit* eTitle;
    QCheckBox* cbMulti;
};

} // namespace zel
