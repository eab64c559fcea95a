#pragma once

#include <QString>
#include <functional>

namespace desktop {

// The network form ("\\server\share\rest") of a path on a mapped network drive ("G:\rest").
// A path on a local drive, or without a drive letter, comes back unchanged; drives A to E
// are never looked up. Windows asks the system which share a letter stands for; elsewhere
// there are no drive letters, and every path comes back unchanged.
QString networkFormOfPath(const QString& path);

// Replaces the system's lookup while set (tests): the handler gets the drive letter (upper
// case) and returns the share it is mapped to ("\\server\share"), or "" for a local drive.
// An empty function restores the system's lookup.
using DriveLookup = std::function<QString(QChar drive)>;
void setDriveLookup(DriveLookup lookup);

} // namespace desktop
