// Linked into the browser player with --js-library. The story's files are
// placed in the in-memory file system as empty files marked with their
// address (web/mowa-page.js), so that folders list them and names resolve
// exactly as on the desktop; opening one of them suspends the program while
// the page fetches its bytes. Every way the program opens a file (pictures,
// the scenario, sounds, music) comes through here.
mergeInto(LibraryManager.library, {
  __syscall_open__deps: ['$SYSCALLS', '$FS', '$Asyncify', '$PATH_FS'],
  __syscall_open: function (path, flags, varargs) {
    var name, mode = 0;
    try {
      name = PATH_FS.resolve(SYSCALLS.getStr(path));
      if (varargs) mode = HEAP32[varargs >> 2];
    } catch (e) {
      if (!(e instanceof FS.ErrnoError)) throw e;
      return -e.errno;
    }
    return Asyncify.handleSleep(function (wakeUp) {
      function open() {
        try {
          wakeUp(FS.open(name, flags, mode).fd);
        } catch (e) {
          if (!(e instanceof FS.ErrnoError)) throw e;
          wakeUp(-e.errno);
        }
      }
      var fetching = Module.mowa.fetchPlaced(name);
      if (fetching) fetching.then(open);
      else open();
    });
  },
});
