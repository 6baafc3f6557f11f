#pragma once

#include "Drives.h"

#include <QByteArray>
#include <QStringList>

#include <optional>

namespace zv {

struct PlaceRoots {
    QString home;
    QString pictures; // empty or the home folder itself: none of its own
    QStringList mediaRoots; // where the desktop mounts media: "/media/eva", "/run/media/eva"
    QString gvfs; // "$XDG_RUNTIME_DIR/gvfs"; empty: none
};

// The places in the order shown: home, pictures, the media mounted directly in a media root by
// the mount table (the text of /proc/self/mounts), then the phones, cameras and shares in the
// gvfs folder. Lists the gvfs folder, but looks into none of its mounts.
QList<Place> findPlaces(const PlaceRoots &roots, const QByteArray &mountTable);

// A gvfs mount by its folder name ("mtp:host=SAMSUNG_SM-G991B_R5CR..."), named as a user reads
// it; nothing for the kinds not offered. The path is left to the caller.
std::optional<Place> gvfsPlace(const QString &folderName);

PlaceRoots systemPlaceRoots();
QByteArray systemMountTable();

} // namespace zv
