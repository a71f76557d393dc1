#pragma once

// Qt's own texts (the entry fields' context menu, standard buttons and dialogs) in Spanish, from
// the translations Debian ships in qt6-translations-l10n.
class TraduccionesQt {
public:
    // Installs them for the whole application; false when they are not installed.
    static bool Instala();
};
