#include "platform/web/web_saves.h"

#include <emscripten.h>
#include <unistd.h>

#include <climits>
#include <string>

#include "platform/common/host_path.h"

// The page's side is Module.mowa.keep (web/mowa-page.js): resolves to 0 once
// the transaction is complete, -1 when it fails.
EM_ASYNC_JS(int, mowa_js_keep, (const char* path),
            { return await Module.mowa.keep(UTF8ToString(path)); });

namespace mowa::pf {

int WebSaves::rename(const char* from, const char* to) {
  const int result = files_.rename(from, to);
  if (result != 0 || to == nullptr) return result;
  char cwd[PATH_MAX];
  if (!getcwd(cwd, sizeof cwd)) return -1;
  std::string path = host_path(to);
  if (path.empty() || path[0] != '/') path = std::string(cwd) + "/" + path;
  // A failed commit leaves the database's file as it was; the program then
  // reports the write as failed.
  return mowa_js_keep(path.c_str());
}

int WebSaves::sync_folder(const char* path) { return files_.sync_folder(path); }

}  // namespace mowa::pf
