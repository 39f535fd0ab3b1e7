#include "appkit/WholeTextField.h"

#include <limits>

WholeTextField::WholeTextField(QWidget* parent)
    : QLineEdit(parent)
{
    setMaxLength(std::numeric_limits<int>::max());
}
