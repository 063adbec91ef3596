#pragma once
// How the windows get their wording: the catalogue beside the program, and
// the conversions from the catalogue's conventions (carriage returns as line
// breaks, "&" accelerators) to what a Qt control shows.

#include "shell/TextCatalogue.h"

#include <QString>

class QWidget;

// The catalogue English.ini in the program folder (missing file = defaults).
TTextCatalogue ProgramCatalogue();

// Joins caption or hint parts with `crs` carriage returns between neighbours.
QString JoinCR(const QStringList& parts, int crs);

// Line breaks of a caption or message (CR, LF, CR LF, LF CR) for Qt display.
QString DisplayText(const QString& text);

// A label caption: accelerators resolved ("&&" shows one "&", a single "&"
// only marks a letter), line breaks for display.
QString LabelText(const QString& caption);
