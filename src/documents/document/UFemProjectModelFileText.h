#pragma once

#include <QString>

// The text of a new model file made for a project: comment lines with the model and project
// file names, the title, the comment and a hint, each line led by the comment marker.
QString UFemProjectModelFileText(const QString& modelFileName, const QString& projectFileName,
    const QString& projectTitle, const QString& projectComment);
