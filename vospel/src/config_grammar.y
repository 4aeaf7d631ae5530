/* Grammar of the configuration-file format. Actions run inside
   vospel::CConfigParser::yyaction and build the model. */
%define api.value.type {vospel::CfgToken}
%token NAME 257 QTEXT 258 DOMAIN 259 RAWLINE 260 LSHIFT 261 RSHIFT 262

%%

file
    : file section
    | file rawline
    | file keyvalue
    | file block
    | file ';'
    | file '\n'
    | %empty
    ;

section   : '[' NAME ']'                  { model_.OnSection(Text($2)); } ;
rawline   : RAWLINE                       { model_.OnRawLine(Text($1)); } ;
block     : blockhead '{' file '}'        { model_.OnBlockClose(); } ;
blockhead : DOMAIN LSHIFT NAME RSHIFT     { model_.OnBlockOpen(Text($3)); } ;
keyvalue  : keyhead values ;
keyhead   : NAME '='                      { model_.OnKey(Text($1)); } ;

value
    : atom                                { model_.OnValue(Text($1)); }
    | listopen values '}'                 { model_.OnListClose(); }
    | listopen values ',' '}'             { model_.OnListClose(); }
    | '\n'
    ;

listopen
    : '{'                                 { model_.OnListOpen(); }
    | '\n' '{'                            { model_.OnListOpen(); }
    ;

values : value | values ',' value ;
atom   : NAME | QTEXT ;

%%
