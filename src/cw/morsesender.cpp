// MorseSender has no code of its own; this file gives its signals their meta-object.
#include "cw/morsesender.h"
