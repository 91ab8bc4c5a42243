#include "app/IconTheme.h"

#include <QDir>
#include <QIcon>

namespace quorvane {

void ChooseIconTheme() {
    const QString current = QIcon::themeName();
    if (!current.isEmpty() && current != QLatin1String("hicolor"))
        return;
    for (const char* theme : {"Adwaita", "breeze", "oxygen", "Tango", "gnome"})
        for (const QString& folder : QIcon::themeSearchPaths())
            if (QDir(folder).exists(QLatin1String(theme) + QLatin1String("/index.theme"))) {
                QIcon::setThemeName(QLatin1String(theme));
                return;
            }
}

} // namespace quorvane
