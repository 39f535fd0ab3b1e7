#pragma once

#include "WindowTestSupport.h"

#include "cardmodel/data/UFemWindowCardTable.h"

#include <QStringList>

#include <array>
#include <map>

// A document window on a model, with its cards by name.
struct DividerModel {
    explicit DividerModel(const QString& modelText)
        : harness(UFemDocumentTypeModel, modelText)
    {
    }

    UFemCardVector cards(const QStringList& names) const
    {
        UFemCardVector found;
        for (const QString& name : names) {
            for (quint64 row = 0; row < harness.window->windowCardTable().count(); ++row) {
                UFemCardPtr card = harness.windowCard(row);
                const qint32 type = card->cardType();
                if (type != UFemNullCardType && type != UFemErrorCardType
                    && card->cardNameString() == name)
                    found.push_back(card);
            }
        }
        return found;
    }

    WindowHarness harness;
};

inline QStringList linesStartingWith(const QString& text, const QString& start)
{
    QStringList lines;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        if (line.startsWith(start))
            lines.append(line);
    }
    return lines;
}

// The Node lines of a divider text: name to location.
inline std::map<QString, std::array<double, 3>> dividerNodes(const QString& text)
{
    std::map<QString, std::array<double, 3>> nodes;
    for (const QString& line : linesStartingWith(text, QStringLiteral("Node , "))) {
        const QStringList fields = line.split(QStringLiteral(" , "));
        nodes[fields[1]]
            = { fields[3].toDouble(), fields[4].toDouble(), fields[5].chopped(2).toDouble() };
    }
    return nodes;
}

inline QStringList dividerNodeNames(const QString& text)
{
    QStringList names;
    for (const QString& line : linesStartingWith(text, QStringLiteral("Node , ")))
        names.append(line.split(QStringLiteral(" , ")).at(1));
    return names;
}

// Material, a shell property S1, nodes A (0,0,0), B (2,0,0), C (2,4,0), D (0,4,0), E (4,0,0),
// F (4,4,0), the Quads Q1 (A, B, C, D) and Q2 (B, E, F, C), which share the edge B-C, and the
// Rod R1 (A, E).
inline const QString TwoQuadModel = QStringLiteral("Material , Steel , 210000 , 0.3 ,\n"
                                                   "ShellProp , S1 , Steel , 0.1 ,\n"
                                                   "RodProp , RP , Steel , 0.5 ,\n"
                                                   "Node , A ,  , 0 , 0 , 0 ,\n"
                                                   "Node , B ,  , 2 , 0 , 0 ,\n"
                                                   "Node , C ,  , 2 , 4 , 0 ,\n"
                                                   "Node , D ,  , 0 , 4 , 0 ,\n"
                                                   "Node , E ,  , 4 , 0 , 0 ,\n"
                                                   "Node , F ,  , 4 , 4 , 0 ,\n"
                                                   "Quad , Q1 , S1 , A , B , C , D ,\n"
                                                   "Quad , Q2 , S1 , B , E , F , C ,\n"
                                                   "Rod , R1 , RP , A , E ,\n");
