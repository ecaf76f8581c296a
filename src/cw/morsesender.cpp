// MorseSender is an interface; this unit gives it its meta-object.
#include "cw/morsesender.h"
