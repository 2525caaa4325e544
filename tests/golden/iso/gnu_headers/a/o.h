#pragma once
ONCE
