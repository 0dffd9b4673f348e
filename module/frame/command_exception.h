// How a command reports an exception that reached the outer level of its run: a message box
// naming the method, never the exception's own text.
#pragma once

// Shows "Exception " followed by the method name (for example "CSolidCmd::Run") in a modal
// message box with an OK button.
void showCommandException(const wchar_t* methodName);
