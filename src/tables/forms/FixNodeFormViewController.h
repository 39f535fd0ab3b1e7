#pragma once

#include "tables/forms/FixedCardFormViewController.h"

#include <array>

class QPushButton;

// The FixNode form: the fixed form with six buttons that write the fix flags, "1" to fix and "0"
// to free, into the translation fields, the rotation fields or both.
class FixNodeFormViewController : public FixedCardFormViewController {
public:
    explicit FixNodeFormViewController(const CardFormDescription& description);

    void fixAllTranslation();
    void freeAllTranslation();
    void fixAllRotation();
    void freeAllRotation();
    void fixAllDirection();
    void freeAllDirection();

    // Switches the buttons too, so that none writes into a read-only form.
    void setEditable(bool editable) override;

private:
    void writeFlags(quint64 firstColumnIndex, const QString& flag);
    QPushButton* addButton(
        const char* objectName, const QString& title, void (FixNodeFormViewController::*action)());

    std::array<QPushButton*, 6> buttons_ {};
};
