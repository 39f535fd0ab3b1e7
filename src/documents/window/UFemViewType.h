#pragma once

#include <QtGlobal>

// The main view a document window shows; also the tag of the view-type menu items and pop-up.
enum UFemViewType : quint64 {
    UFemViewTypeNone = 0,
    UFemViewTypeCard = 1,
    UFemViewTypeGraphic = 2,
    UFemViewTypeInfo = 3,
};
