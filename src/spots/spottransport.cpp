#include "spots/spottransport.h"

// Built here so the interface's signals have their meta-object in the core library.
