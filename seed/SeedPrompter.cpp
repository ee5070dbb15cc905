#include "seed/SeedPrompter.h"

#include "app/frmVellumo.h"

SeedPrompter::SeedPrompter(frmVellumo& window) : QObject(&window), m_window(window) {}
