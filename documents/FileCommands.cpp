#include "documents/FileCommands.h"

#include "app/frmVellumo.h"

FileCommands::FileCommands(frmVellumo& window) : QObject(&window), m_window(window) {}
