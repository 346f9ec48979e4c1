#include "catalog/datafile.h"
