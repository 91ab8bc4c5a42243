#pragma once

#include <QIcon>
#include <QString>

namespace quorvane {

// The small icon that files of this name get on the desktop, found from the name alone (the file
// is never touched): the icon theme's icon for the name's type, else one drawn here, coloured by
// the kind of file. Remembered per type. Main thread only.
QIcon FileTypeIcon(const QString& fileName);

} // namespace quorvane
