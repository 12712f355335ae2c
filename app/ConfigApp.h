#pragma once

// The program around the main window: prepares the serial transport, then shows the main window modally;
// when the window closes the program ends.
class CConfigApp {
public:
    // Always false: there is no message loop of the application's own after the window has closed.
    bool InitInstance();
};
