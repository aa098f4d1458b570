#include "desktop/Desktop.h"

Desktop::~Desktop() = default;
