#include "listmodel.h"
