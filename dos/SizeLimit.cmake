# Fails the build when FILE is larger than LIMIT bytes.
file(SIZE ${FILE} size)
if(size GREATER LIMIT)
  file(REMOVE ${FILE})
  message(FATAL_ERROR "${FILE} is ${size} bytes, more than ${LIMIT}: a COM program must fit 64 KB")
endif()
