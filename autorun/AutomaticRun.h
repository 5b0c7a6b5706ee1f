// What one automatic run owns: its turn, the run lock of the product folder
// that lets one run at a time answer a request there, and the input file as
// read, held open so that the file removed is the one answered. LetGo gives
// up both in one place; the destructor does it for a run that ends any other
// way. The text read goes to g_inputText.
#pragma once

#include <string>

#include "framework/File.h"
#include "storage/FileHelpers.h"

class AutomaticRun {
public:
    AutomaticRun() = default;
    ~AutomaticRun() { LetGo(); }
    AutomaticRun(const AutomaticRun&) = delete;
    AutomaticRun& operator=(const AutomaticRun&) = delete;

    // One attempt at the run lock; Taken means the turn is this run's.
    LockAttempt TryTakeTurn(const std::wstring& lockFile);
    // Reads the input into `text` and keeps the file open until LetGo.
    ReadOutcome ReadAndHoldInput(const std::wstring& inputFile, std::wstring& text);
    // Removes the held input, also when it is read-only; false leaves it as it was.
    bool RemoveInput();
    // Closes the input and the lock; closing what is not open does nothing.
    void LetGo();

private:
    CFile m_lock;
    CFile m_input;
};
