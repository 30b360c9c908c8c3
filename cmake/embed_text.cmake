# Writes the bytes of INPUT into OUTPUT as one C++ raw string literal, so a
# program can carry a text file without reading it at run time.
# Usage: cmake -DINPUT=<file> -DOUTPUT=<file> -P embed_text.cmake
file(READ ${INPUT} content)
string(FIND "${content}" ")velmor_text\"" clash)
if(NOT clash EQUAL -1)
  message(FATAL_ERROR "${INPUT} contains the raw-string delimiter")
endif()
file(WRITE ${OUTPUT}.tmp "R\"velmor_text(${content})velmor_text\"\n")
file(COPY_FILE ${OUTPUT}.tmp ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.tmp)
