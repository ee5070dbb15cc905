#include "dialogs/SearchCommands.h"

#include "app/frmVellumo.h"

SearchCommands::SearchCommands(frmVellumo& window) : QObject(&window), m_window(window) {}
