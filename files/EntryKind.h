#pragma once

namespace zorby {

// What stands under a name on disk. A symbolic link (on Windows also a junction) is a Link, whatever it
// points to; Other is a pipe, a device or a socket.
enum class EntryKind { Missing, RegularFile, Folder, Link, Other };

} // namespace zorby
