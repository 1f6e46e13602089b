#pragma once

#include "Component.h"

#include <QLabel>

// A label that shows "Version " and the file version of the running program, read from the
// program's own version record once the form holding it has been loaded.
class TVersionLabel : public QLabel, public TLoadable {
    Q_OBJECT

public:
    // The longest version text the label keeps; a longer one is cut.
    static constexpr int VersionCapacity = 64;

    explicit TVersionLabel(QWidget* parent = nullptr);

    // The FileVersion text of the program's version record (first translation), read into the
    // cache when the cache is empty; empty when it cannot be read.
    QString GetVersion();

    // Sets the caption to "Version " and the version text; replaces any caption from the form.
    void Loaded() override;

private:
    // Reads the version record into the cache; leaves the cache empty on any failure.
    void ReadVersion();

    // Zero-terminated UTF-8; empty until a reading succeeds, never cleared after that.
    char FVersion[VersionCapacity + 1];
};

namespace VersionUnit {
// Registers TVersionLabel on the control set's palette page.
void Register();
} // namespace VersionUnit
