#pragma once
#include <QDialog>
#include <QImage>
#include <array>

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;

namespace zel {

class TZelStatus;

// What the environment window changes outside itself when it is confirmed.
class TEnvSetTargets {
public:
    virtual ~TEnvSetTargets() = default;
    // The lobby terminal, both lists, the memo windows and the game window's
    // terminal take palette colour `baseColor` as their background.
    virtual void Recolour(int baseColor) = 0;
    // The game window's board shows pattern `pattern` (1..4).
    virtual void ApplyBoardPattern(int pattern) = 0;
    // The chat macros were changed.
    virtual void MacrosChanged() = 0;
};

// "환경 설정": the background colour, the nine chat macros, the game-window
// options and the board pattern of "Environment Info". OK stores and saves
// the section and updates the targets; Cancel changes nothing.
class TEnvSetForm : public QDialog {
    Q_OBJECT
public:
    static constexpr int kSwatches = 5;
    static constexpr int kFirstSwatchColour = 10; // swatch n shows palette colour 10 + n
    static constexpr int kMacros = 9;
    static constexpr int kPatterns = 4;
    enum TPage { kColourPage, kMacroPage, kOtherPage, kBoardPage };

    TEnvSetForm(TZelStatus& status, TEnvSetTargets& targets, QWidget* parent = nullptr);

    // Board pattern n (1..4) as drawn by the build; a null image otherwise.
    static QImage BoardPattern(int pattern);

    // Fills every control from the settings and opens the window (not modal
    // for the caller: the answer arrives through OK or Cancel).
    void ShowForm();
    // The colour of the first swatch carrying the caption; the fifth without one.
    int ChosenColour() const;
    // The pattern whose panel is lowered (1..4).
    int ChosenBoard() const;

    QTabWidget* Pages;
    std::array<QPushButton*, kSwatches> ColorBtns{};
    std::array<QLineEdit*, kMacros> MacroEdits{};
    QSpinBox* AutoTimeSpin;
    QLineEdit* RejectEdit;
    QLineEdit* TitleEdit;
    QCheckBox* RecvVHelpCheck;
    QCheckBox* SendVHelpCheck;
    QCheckBox* CountVoiceCheck;
    std::array<QFrame*, kPatterns> BoardPanels{};
    QPushButton* OkBtn;
    QPushButton* CancelBtn;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* BuildColourPage();
    QWidget* BuildMacroPage();
    QWidget* BuildOtherPage();
    QWidget* BuildBoardPage();
    void Fill();
    void SwatchPressed(int index);
    void SelectBoard(int pattern);
    void MacroReturn(int index);
    void FocusMacroPage();
    void OkBtnClick();

    TZelStatus& status_;
    TEnvSetTargets& targets_;
    std::array<QLabel*, kPatterns> boardImages_{};
};

} // namespace zel
