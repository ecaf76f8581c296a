#include "common/platform/tcpconnection.h"

// The interface's meta-object lives with this file.
