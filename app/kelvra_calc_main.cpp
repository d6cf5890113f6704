// kelvra-calc: the enclosure calculator without the window, for scripts and batch checks.
#include "app/CalcCli.h"

int main(int argc, char** argv)
{
    return kelvra::runCalcCli(argc, argv);
}
