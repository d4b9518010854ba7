// A KWin script: prints, in KWin's log, one line for each window as KWin
// holds it: "WINDOW caption|opacity, kept above, off taskbar and pager|place
// in the stacking order (0 at the bottom)|frame: left top right bottom|its
// process".
// (KWin 6 names the list windowList, KWin 5 clientList.)
const windows = workspace.windowList ? workspace.windowList() : workspace.clientList();
for (let i = 0; i < windows.length; ++i) {
    const w = windows[i];
    const g = w.frameGeometry;
    print("WINDOW " + w.caption + "|opacity=" + w.opacity.toFixed(3) + " above=" + w.keepAbove +
          " skipTaskbar=" + w.skipTaskbar + " skipPager=" + w.skipPager + "|" + w.stackingOrder +
          "|" + g.x + " " + g.y + " " + (g.x + g.width) + " " + (g.y + g.height) + "|" +
          w.pid);
}
