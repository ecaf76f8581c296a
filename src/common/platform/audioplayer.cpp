// The player interface has no code of its own; this unit gives its signals their meta-object.
#include "common/platform/audioplayer.h"
