#pragma once
/// The start-up procedure: run once, after the QApplication exists. It loads
/// the frame, reads the settings into the application-wide state, forms the
/// database and help file names and shows the splash window.
void Main();
