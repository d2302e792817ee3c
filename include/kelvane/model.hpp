#pragma once

// The domain model: recordings of sentences of words and attachments, folders, recording-list
// contexts, the identity-compared list and the coding interface.
#include <kelvane/model/attachment.hpp>
#include <kelvane/model/coding.hpp>
#include <kelvane/model/folder.hpp>
#include <kelvane/model/recording.hpp>
#include <kelvane/model/recording_list_context.hpp>
#include <kelvane/model/sentence.hpp>
#include <kelvane/model/tarray.hpp>
#include <kelvane/model/word.hpp>
