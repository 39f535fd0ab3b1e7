// The document window harness of the documents tests, built once more into this suite so that
// the card view runs in a real window controller.
#include "../documents/WindowTestSupport.cpp"
