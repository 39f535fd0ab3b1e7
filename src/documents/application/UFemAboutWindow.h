#pragma once

#include <QString>

#include <memory>

class QWidget;

// The About window: the program's icon, name, version and processor architecture, its web
// address, the development notice and the copyright, at fixed places in a white window.
class UFemAboutWindow {
public:
    static std::unique_ptr<QWidget> makeWindow();
};

inline const QString UFemWebSiteAddress = QStringLiteral("https://www.vantrel.org/");
inline const QString UFemCopyrightString
    = QStringLiteral("Copyright \u00A9 The Vantrel developers. All rights reserved.");
