// The toolbar's 16 x 15 button images and the application icon, drawn in code.
#pragma once

#include <QIcon>
#include <QPixmap>

inline constexpr int kToolbarImageWidth = 16;
inline constexpr int kToolbarImageHeight = 15;

// The button image of a toolbar command; a null pixmap for any other id.
QPixmap ToolbarImage(unsigned command);
QIcon ToolbarIcon(unsigned command);
// The application's icon (a sun over a shadow band) at the given size.
QPixmap ApplicationImage(int size);
