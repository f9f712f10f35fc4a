// The page's side of the game, run before the program starts: the command line from
// the page's address, the browser's storage for the settings and records, the frame
// pacing the loop hands control back for, and full screen.
(function () {
  const query = new URLSearchParams(location.search);
  const args = [];
  // ?replay=NAME plays a recording packed with the page (or, with &served=1, one the
  // server has under extra/) and prints the digest line, as --print-digest does.
  const replay = (query.get('replay') || '').replace(/[^A-Za-z0-9._-]/g, '');
  if (replay) args.push('--replay', '/replays/' + replay, '--unpaced', '--print-digest');
  for (const name of ['seed', 'frames']) {
    const value = query.get(name);
    if (value !== null && /^[0-9]+$/.test(value)) args.push('--' + name, value);
  }
  Module['arguments'] = args;
  // ?hold=N stops on the Nth frame shown and keeps it on the canvas (for comparisons).
  const holdAt = Number(query.get('hold') || 0);

  const home = '/home/web_user';
  const kept = [home + '/.config/brinegate', home + '/.local/share/brinegate'];
  Module['preRun'] = (Module['preRun'] || []).concat([function () {
    // The trace log would only fill memory: off unless the address asks for it.
    if (query.get('trace') === '1') ENV['BRINEGATE_TRACE'] = '1';
    for (const dir of kept) {
      FS.mkdirTree(dir);
      FS.mount(IDBFS, {}, dir);
    }
    addRunDependency('kept');
    FS.syncfs(true, function (error) {
      if (error) console.warn('brinegate: the kept settings could not be read: ' + error);
      removeRunDependency('kept');
    });
    // Every file the game writes there ends with a rename over the old one: that is
    // when the browser's copy is brought up to date. keptWrites counts those renames,
    // keptSynced how many of them the browser's copy holds.
    let syncing = false, again = false;
    Module['keptWrites'] = 0;
    Module['keptSynced'] = 0;
    const sync = function () {
      if (syncing) { again = true; return; }
      syncing = true;
      const covered = Module['keptWrites'];
      FS.syncfs(false, function (error) {
        syncing = false;
        if (error) console.warn('brinegate: the settings could not be kept: ' + error);
        else Module['keptSynced'] = covered;
        if (again) { again = false; sync(); }
      });
    };
    const rename = FS.rename;
    FS.rename = function (from, to) {
      rename.call(FS, from, to);
      if (kept.some(function (dir) { return String(to).startsWith(dir + '/'); })) {
        ++Module['keptWrites'];
        setTimeout(sync, 0);
      }
    };
    if (replay && query.get('served') === '1') {
      addRunDependency('replay');
      fetch('extra/' + encodeURIComponent(replay)).then(function (response) {
        if (!response.ok) throw new Error(response.status + ' ' + response.statusText);
        return response.arrayBuffer();
      }).then(function (bytes) {
        FS.mkdirTree('/served');
        FS.writeFile('/served/' + replay, new Uint8Array(bytes));
        args[1] = '/served/' + replay;
      }).catch(function (error) {
        console.warn('brinegate: extra/' + replay + ': ' + error);
      }).finally(function () { removeRunDependency('replay'); });
    }
  }]);

  // Frames: the loop asks after every swap whether to hand control back. Paced, it
  // waits on the animation frames for the next 1/60 s (so a 120 Hz display still
  // shows 60 steps a second); unpaced, it runs on and hands back every 25 ms.
  const period = 1000 / 60;
  let due = 0, lastYield = 0, synced = false;
  Module['framesShown'] = 0;
  Module['brinegateFrameShown'] = function (isSynced) {
    synced = isSynced !== 0;
    const shown = ++Module['framesShown'];
    if (shown === 1) Module['firstFrameAt'] = performance.now();
    if (holdAt && shown >= holdAt) return 1;
    return synced || performance.now() - lastYield >= 25 ? 1 : 0;
  };
  Module['brinegateYield'] = function () {
    if (holdAt && Module['framesShown'] >= holdAt) {
      if (!Module['held']) console.log('brinegate: holding frame ' + Module['framesShown']);
      Module['held'] = true;
      return new Promise(function () {});
    }
    return new Promise(function (resolve) {
      const done = function () { lastYield = performance.now(); resolve(); };
      if (!synced) { setTimeout(done, 0); return; }
      const tick = function (now) {
        if (now + 3 < due) { requestAnimationFrame(tick); return; }
        due = now > due + 100 ? now + period : due + period;
        done();
      };
      requestAnimationFrame(tick);
    });
  };

  Module['brinegateSetFullscreen'] = function (on) {
    const page = document.documentElement;
    if (on && !document.fullscreenElement && page.requestFullscreen) page.requestFullscreen().catch(function () {});
    else if (!on && document.fullscreenElement) document.exitFullscreen().catch(function () {});
  };
  Module['brinegateEnded'] = function (status) {
    Module['exitStatus'] = status;
    console.log('brinegate: ended with status ' + status);
    if (Module['onEnded']) Module['onEnded'](status);
  };
})();
