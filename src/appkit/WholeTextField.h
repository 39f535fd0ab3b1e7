#pragma once

#include <QLineEdit>

// A one-line text field that keeps any text whole: QLineEdit cuts its text at 32,767 characters
// by default, and a card column or line read back cut would be applied cut.
class WholeTextField : public QLineEdit {
public:
    explicit WholeTextField(QWidget* parent = nullptr);
};
