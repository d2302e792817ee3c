#pragma once

// Code blocks: units of work passed around as objects, reporting through callbacks or returning
// their result, and wrappers that run a stored function.
#include <kelvane/codeblocks/async_code_block.hpp>
#include <kelvane/codeblocks/async_wrapper_code_block.hpp>
#include <kelvane/codeblocks/code_block_types.hpp>
#include <kelvane/codeblocks/sync_code_block.hpp>
#include <kelvane/codeblocks/sync_wrapper_code_block.hpp>
