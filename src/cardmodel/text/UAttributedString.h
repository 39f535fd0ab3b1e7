#pragma once

#include <QList>
#include <QString>

// Text with styled runs, without any GUI type: each run names a style by key, and the views map
// the keys to their own text formats.
struct UAttributedString {
    struct Run {
        qsizetype location = 0;
        qsizetype length = 0;
        QString styleKey;

        friend bool operator==(const Run&, const Run&) = default;
    };

    QString string;
    QList<Run> runs;

    // Appends `text` as one run under `styleKey`; empty text adds nothing.
    void append(const QString& text, const QString& styleKey)
    {
        if (text.isEmpty())
            return;
        runs.append({ string.size(), text.size(), styleKey });
        string += text;
    }

    friend bool operator==(const UAttributedString&, const UAttributedString&) = default;
};
