#include "editing/EditCommands.h"

#include "app/frmVellumo.h"

EditCommands::EditCommands(frmVellumo& window) : QObject(&window), m_window(window) {}
