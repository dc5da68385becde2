#pragma once
#include <QDialog>
#include <array>

#include "core/print/PrintJob.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace zel {

class Prompts;
class TZelStatus;

// The print dialog "기보 인쇄": margins, cell size, method, range and split
// of a record print. Lengths show in mm or printer pixels ("dspunit") and
// are kept in printer pixels. An accepting button checks the fields, stores
// the options (section "Print Option Info") and closes the dialog.
class TVeskForm : public QDialog {
    Q_OBJECT
public:
    // Where the accepted job goes.
    enum TOutput : int { kToPrinter = 1, kToPreview = 2, kToPdf = 3 };
    enum TUnit : int { kMm = 0, kPixels = 1 };

    // `lastMove` is the record's move count; `pageWidth`, `pageHeight` the
    // printer's page in pixels at `resolution`.
    TVeskForm(TZelStatus& status, Prompts& prompts, int lastMove, int pageWidth, int pageHeight, int resolution,
              QWidget* parent = nullptr);

    TPrintRequest Request() const { return request_; }
    TOutput Output() const { return output_; }

    // The handlers of the buttons and the unit box.
    void btnOkClick(TOutput output);
    void cbUnitChange(int unit);

    QLineEdit *edTMar, *edLMar, *edGrid, *edDNum, *edSPos, *edEPos, *edHeight, *edWidth;
    QComboBox *cbUnit, *cbNDiv;
    QCheckBox* cbColor;
    QLabel* Range;
    std::array<QRadioButton*, 5> rbMethod{}; // methods 1..5
    QPushButton *btnOk, *btnPreview, *btnPdf, *btnCancel;

private:
    QString Shown(int pixels) const;
    // A length field in printer pixels; false when it holds no number >= 0.
    // A field still showing its last value gives that value's exact pixels.
    bool ReadLength(int index, int& pixels) const;
    QLineEdit* LengthField(int index) const;
    void Refuse(const char* text);

    TZelStatus& status_;
    Prompts& prompts_;
    int lastMove_;
    int pageWidth_, pageHeight_, resolution_;
    int unit_ = kMm;
    std::array<int, 3> lengths_{}; // top margin, left margin, cell, in pixels
    TPrintRequest request_;
    TOutput output_ = kToPrinter;
};

} // namespace zel
