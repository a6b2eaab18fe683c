#pragma once

#include <QFont>
#include <QString>

// The font the windows were drawn for: Tahoma 8 points. The Wine font files carry a free Tahoma
// that fontconfig does not list, so it is registered with the application; without them the
// installed sans font stands in at the size that sets the same text in about the same width.
namespace FonteJanelas {

// Tahoma 8 points, registered on first use; the stand-in when the system has no Tahoma.
QFont fonte();

// Makes fonte() the application's, so dialogs, grids measured before they are placed in a
// window and the main window share it. Returns it.
QFont instala();

// The stand-in for Tahoma 8 points among the installed sans fonts.
QFont substituta();

// A text and the width Tahoma 8 points gives it at 96 dots per inch: what the stand-in is
// measured against.
QString textoReferencia();
int larguraReferencia();

} // namespace FonteJanelas
