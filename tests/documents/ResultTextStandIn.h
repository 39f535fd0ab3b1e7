#pragma once

#include "cardmodel/data/UFemResultDataManager.h"

#include <QString>

#include <memory>
#include <optional>

// Results of `modelText` whose calculation ended with `errorText` (none: without an error).
std::shared_ptr<UFemResultDataManager> makeResultWithErrorText(
    const QString& modelText, std::optional<QString> errorText);
