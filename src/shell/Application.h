#pragma once
// Program start: the splash, then every window once in its fixed order.

class TMainForm1;

// Shows the splash and creates the windows; the main window, which owns the
// others (its Peers), is then shown by the caller. `splashMs` is the
// splash's minimum time.
TMainForm1* ExecuteApplication(int splashMs = 3000);
