#pragma once

#include "listmodel.h"
