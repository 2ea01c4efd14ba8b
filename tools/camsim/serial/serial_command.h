// "camsim serial": the camera on its serial cable (see serial_options.h).
#pragma once

int CamsimSerialMain(int argc, char **argv);
