#include "support/BenchDialog.h"

bool BenchDialog::runOpen()
{
    return answer();
}

bool BenchDialog::runSave()
{
    return answer();
}

bool BenchDialog::answer()
{
    FileName = next;
    return !next.isEmpty();
}
