#pragma once
#include <QString>

// The folder of the running program, ending with a separator. Everything the
// program expects beside itself (catalogue, MP3/, MRL/, SWF/, help/) is found
// from here. Tests point it at a folder of their own.
QString ProgramFolder();
void SetProgramFolderForTests(const QString& folder); // empty restores the real one
