#include "files/TextFormat.h"
