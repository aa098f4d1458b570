#include "desktop/ScreenReader.h"

ScreenReader::~ScreenReader() = default;
