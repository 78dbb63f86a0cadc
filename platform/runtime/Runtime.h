// Everything a tweak or host needs from the object runtime.
#pragma once

#include "platform/runtime/Associations.h"
#include "platform/runtime/Class.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/runtime/Hook.h"
#include "platform/runtime/Messaging.h"
#include "platform/runtime/NSObject.h"
#include "platform/runtime/Object.h"
#include "platform/runtime/Selector.h"
