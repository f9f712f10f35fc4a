#include "Bucket.h"

#include "Box.h"

Bucket::Bucket() { BoxMakeEmpty(corners); }
