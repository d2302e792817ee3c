#pragma once

#include <string>

namespace kelvane::platform {

/// The user's documents folder: `$XDG_DOCUMENTS_DIR` when it holds an absolute path, else
/// `$HOME/Documents`, else `Documents` in the home folder of the user's account entry.
///
/// Like the platform's own documents folder, it is there when asked for: a missing folder is
/// created, with its parents (a failure to create it is not reported; later file operations in it
/// then fail). The path has no trailing "/". Empty only when no home folder can be found at all,
/// which callers must treat as "no documents folder".
std::string documentsDirectory();

}  // namespace kelvane::platform
