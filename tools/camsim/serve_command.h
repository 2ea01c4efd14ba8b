// "camsim serve": the simulated camera on the ZLtp ports.
#pragma once

int ServeMain(int argc, char **argv);
