#pragma once
/* The public header of the mail bridge library: the Simple MAPI structures, flags and result
   codes, and the exports. To be written. */
