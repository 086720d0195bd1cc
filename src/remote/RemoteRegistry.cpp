#include "remote/RemoteRegistry.h"
