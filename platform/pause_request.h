#pragma once

// A request to pause play that does not come through the keys: the window
// losing the input focus, or the controller in use being pulled out. Raised
// by the system thread; taken by the gameplay loop on the main thread, which
// pauses (menus and presentation screens take it and let it go).

// Raises the request; any thread.
void RequestPause();
// True once for each run of requests: returns whether one was raised since
// the last call, and lowers it. Main thread.
bool TakePauseRequest();
