#pragma once

#include <QString>
#include <QVariant>

#include <optional>

// A font as the preferences keep it: a family and a size in points. The libraries below the user
// interface never need a font object, only this record; the interface makes a QFont of it.
// The stored form is the text "family,size", which QFont::fromString reads, and reading takes the
// first two fields of a QFont::toString text.
struct UPreferenceFont {
    QString family;
    double pointSize = 0.0;

    static std::optional<UPreferenceFont> fontWithPreferenceFont(const QVariant& preferenceFont);
    QVariant preferenceFont() const;

    // The user's fixed-pitch font: "monospace" names it to fontconfig, and the interface maps it
    // to the system fixed-pitch font.
    static UPreferenceFont userFixedPitchFontOfSize(double pointSize);

    friend bool operator==(const UPreferenceFont&, const UPreferenceFont&) = default;
};

inline const QString UFemUserFixedPitchFontFamily = QStringLiteral("monospace");
