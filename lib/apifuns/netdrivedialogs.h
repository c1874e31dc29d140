// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

class QWidget;

namespace qfc
{

// The network-drive dialogs: connecting (mounting) a remote location such as
// smb://server/share or sftp://host/folder, and disconnecting one, through
// gio. Both say clearly when gio is not installed. They need
// widgetsAvailable(); owner may be nullptr.
void mapNetworkDrive(QWidget *owner);
void disconnectNetworkDrive(QWidget *owner);

} // namespace qfc
