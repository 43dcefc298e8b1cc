#include "fakes/fakes.h"
