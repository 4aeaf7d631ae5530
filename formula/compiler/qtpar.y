/* Grammar of the formula language. There is no intermediate code: every
   production hands its right-hand values to CQTPar::OnReduce as it is
   reduced, which carries out the statement or evaluates the expression on
   whole series. A refused statement aborts the parse. */
%define api.value.type {formula::SQTValue}
%token IDENT 257
%token FUNC 258
%token FORMULA 259
%token PARAM_P 261
%token PARAM_T 262
%token IF 263
%token IFN 264
%token ENTERLONG 265
%token EXITLONG 266
%token ENTERSHORT 267
%token EXITSHORT 268
%token RETURN 269
%token COLORRED 270
%token COLORBLUE 271
%token COLORGREEN 272
%token COLORCYAN 273
%token COLORBLACK 274
%token COLORMAGENTA 275
%token COLORBROWN 276
%token COLORLIGHTGRAY 277
%token COLORDARKGRAY 278
%token COLORLIGHTBLUE 279
%token COLORLIGHTGREEN 280
%token COLORLIGHTCYAN 281
%token COLORLIGHTRED 282
%token COLORLIGHTMAGENTA 283
%token COLORYELLOW 284
%token COLORWHITE 285
%token DEFAULTKCOLOR 286
%token DEFAULT 287
%token VOLSTICK 288
%token COLORSTICK 289
%token CIRCLEDOT 290
%token NODRAW 291
%token LE 292
%token GE 293
%token EQ 294
%token NE 295
%token ASSIGN 296
%token COLON 297
%token AND 298
%token OR 299
%token NUMBER 300
%token STRING 301

%left AND OR
%left LE GE '<' '>' EQ NE
%left '+' '-'
%left '*' '/'
%left '%'
%precedence UMINUS

%start program

%%
program
    : %empty
        { if (!OnReduce(formula::R_PROGRAM_EMPTY, nullptr, 0, $$)) YYABORT; }
    | program variable_stmt ';'
        { if (!OnReduce(formula::R_PROGRAM_VARIABLE, &$1, 3, $$)) YYABORT; }
    | program output_stmt ';'
        { if (!OnReduce(formula::R_PROGRAM_OUTPUT, &$1, 3, $$)) YYABORT; }
    | program param_stmt ';'
        { if (!OnReduce(formula::R_PROGRAM_PARAM, &$1, 3, $$)) YYABORT; }
    ;
param_stmt
    : IDENT def_op PARAM_P '(' number_list ')'
        { if (!OnReduce(formula::R_PARAM_P, &$1, 6, $$)) YYABORT; }
    | IDENT def_op PARAM_T '(' NUMBER ')'
        { if (!OnReduce(formula::R_PARAM_T, &$1, 6, $$)) YYABORT; }
    ;
number_list
    : NUMBER
        { if (!OnReduce(formula::R_NUMBER_FIRST, &$1, 1, $$)) YYABORT; }
    | number_list ',' NUMBER
        { if (!OnReduce(formula::R_NUMBER_NEXT, &$1, 3, $$)) YYABORT; }
    ;
def_op
    : ASSIGN
        { if (!OnReduce(formula::R_DEF_ASSIGN, &$1, 1, $$)) YYABORT; }
    | COLON
        { if (!OnReduce(formula::R_DEF_COLON, &$1, 1, $$)) YYABORT; }
    ;
variable_stmt
    : IDENT ASSIGN expr
        { if (!OnReduce(formula::R_VARIABLE, &$1, 3, $$)) YYABORT; }
    ;
output_stmt
    : IDENT COLON expr
        { if (!OnReduce(formula::R_OUTPUT, &$1, 3, $$)) YYABORT; }
    | IDENT COLON expr ',' style
        { if (!OnReduce(formula::R_OUTPUT_STYLED, &$1, 5, $$)) YYABORT; }
    | trade_word COLON expr
        { if (!OnReduce(formula::R_OUTPUT_TRADE, &$1, 3, $$)) YYABORT; }
    | RETURN COLON expr
        { if (!OnReduce(formula::R_OUTPUT_RETURN, &$1, 3, $$)) YYABORT; }
    ;
trade_word
    : ENTERLONG
        { if (!OnReduce(formula::R_TRADE_ENTERLONG, &$1, 1, $$)) YYABORT; }
    | EXITLONG
        { if (!OnReduce(formula::R_TRADE_EXITLONG, &$1, 1, $$)) YYABORT; }
    | ENTERSHORT
        { if (!OnReduce(formula::R_TRADE_ENTERSHORT, &$1, 1, $$)) YYABORT; }
    | EXITSHORT
        { if (!OnReduce(formula::R_TRADE_EXITSHORT, &$1, 1, $$)) YYABORT; }
    ;
style
    : COLORRED
        { if (!OnReduce(formula::R_STYLE_FIRST + 0, &$1, 1, $$)) YYABORT; }
    | COLORBLUE
        { if (!OnReduce(formula::R_STYLE_FIRST + 1, &$1, 1, $$)) YYABORT; }
    | COLORGREEN
        { if (!OnReduce(formula::R_STYLE_FIRST + 2, &$1, 1, $$)) YYABORT; }
    | COLORCYAN
        { if (!OnReduce(formula::R_STYLE_FIRST + 3, &$1, 1, $$)) YYABORT; }
    | COLORBLACK
        { if (!OnReduce(formula::R_STYLE_FIRST + 4, &$1, 1, $$)) YYABORT; }
    | COLORMAGENTA
        { if (!OnReduce(formula::R_STYLE_FIRST + 5, &$1, 1, $$)) YYABORT; }
    | COLORBROWN
        { if (!OnReduce(formula::R_STYLE_FIRST + 6, &$1, 1, $$)) YYABORT; }
    | COLORLIGHTGRAY
        { if (!OnReduce(formula::R_STYLE_FIRST + 7, &$1, 1, $$)) YYABORT; }
    | COLORDARKGRAY
        { if (!OnReduce(formula::R_STYLE_FIRST + 8, &$1, 1, $$)) YYABORT; }
    | COLORLIGHTBLUE
        { if (!OnReduce(formula::R_STYLE_FIRST + 9, &$1, 1, $$)) YYABORT; }
    | COLORLIGHTGREEN
        { if (!OnReduce(formula::R_STYLE_FIRST + 10, &$1, 1, $$)) YYABORT; }
    | COLORLIGHTCYAN
        { if (!OnReduce(formula::R_STYLE_FIRST + 11, &$1, 1, $$)) YYABORT; }
    | COLORLIGHTRED
        { if (!OnReduce(formula::R_STYLE_FIRST + 12, &$1, 1, $$)) YYABORT; }
    | COLORLIGHTMAGENTA
        { if (!OnReduce(formula::R_STYLE_FIRST + 13, &$1, 1, $$)) YYABORT; }
    | COLORYELLOW
        { if (!OnReduce(formula::R_STYLE_FIRST + 14, &$1, 1, $$)) YYABORT; }
    | COLORWHITE
        { if (!OnReduce(formula::R_STYLE_FIRST + 15, &$1, 1, $$)) YYABORT; }
    | DEFAULTKCOLOR
        { if (!OnReduce(formula::R_STYLE_FIRST + 16, &$1, 1, $$)) YYABORT; }
    | DEFAULT
        { if (!OnReduce(formula::R_STYLE_FIRST + 17, &$1, 1, $$)) YYABORT; }
    | VOLSTICK
        { if (!OnReduce(formula::R_STYLE_FIRST + 18, &$1, 1, $$)) YYABORT; }
    | COLORSTICK
        { if (!OnReduce(formula::R_STYLE_FIRST + 19, &$1, 1, $$)) YYABORT; }
    | CIRCLEDOT
        { if (!OnReduce(formula::R_STYLE_FIRST + 20, &$1, 1, $$)) YYABORT; }
    | NODRAW
        { if (!OnReduce(formula::R_STYLE_FIRST + 21, &$1, 1, $$)) YYABORT; }
    ;
expr
    : expr AND expr
        { if (!OnReduce(formula::R_EXPR_AND, &$1, 3, $$)) YYABORT; }
    | expr OR expr
        { if (!OnReduce(formula::R_EXPR_OR, &$1, 3, $$)) YYABORT; }
    | expr LE expr
        { if (!OnReduce(formula::R_EXPR_LE, &$1, 3, $$)) YYABORT; }
    | expr GE expr
        { if (!OnReduce(formula::R_EXPR_GE, &$1, 3, $$)) YYABORT; }
    | expr '<' expr
        { if (!OnReduce(formula::R_EXPR_LT, &$1, 3, $$)) YYABORT; }
    | expr '>' expr
        { if (!OnReduce(formula::R_EXPR_GT, &$1, 3, $$)) YYABORT; }
    | expr EQ expr
        { if (!OnReduce(formula::R_EXPR_EQ, &$1, 3, $$)) YYABORT; }
    | expr NE expr
        { if (!OnReduce(formula::R_EXPR_NE, &$1, 3, $$)) YYABORT; }
    | expr '+' expr
        { if (!OnReduce(formula::R_EXPR_ADD, &$1, 3, $$)) YYABORT; }
    | expr '-' expr
        { if (!OnReduce(formula::R_EXPR_SUB, &$1, 3, $$)) YYABORT; }
    | expr '*' expr
        { if (!OnReduce(formula::R_EXPR_MUL, &$1, 3, $$)) YYABORT; }
    | expr '/' expr
        { if (!OnReduce(formula::R_EXPR_DIV, &$1, 3, $$)) YYABORT; }
    | expr '%' expr
        { if (!OnReduce(formula::R_EXPR_MOD, &$1, 3, $$)) YYABORT; }
    | '-' expr %prec UMINUS
        { if (!OnReduce(formula::R_EXPR_NEGATE, &$1, 2, $$)) YYABORT; }
    | '(' expr ')'
        { if (!OnReduce(formula::R_EXPR_PAREN, &$1, 3, $$)) YYABORT; }
    | IF '(' expr ',' expr ',' expr ')'
        { if (!OnReduce(formula::R_EXPR_IF, &$1, 8, $$)) YYABORT; }
    | IFN '(' expr ',' expr ',' expr ')'
        { if (!OnReduce(formula::R_EXPR_IFN, &$1, 8, $$)) YYABORT; }
    | NUMBER
        { if (!OnReduce(formula::R_EXPR_NUMBER, &$1, 1, $$)) YYABORT; }
    | func_call
        { if (!OnReduce(formula::R_EXPR_FUNC, &$1, 1, $$)) YYABORT; }
    | formula_call
        { if (!OnReduce(formula::R_EXPR_FORMULA, &$1, 1, $$)) YYABORT; }
    | IDENT
        { if (!OnReduce(formula::R_EXPR_NAME, &$1, 1, $$)) YYABORT; }
    ;
func_call
    : func_name
        { if (!OnReduce(formula::R_FUNC_CALL_BARE, &$1, 1, $$)) YYABORT; }
    | func_name '(' arg_list ')'
        { if (!OnReduce(formula::R_FUNC_CALL, &$1, 4, $$)) YYABORT; }
    ;
func_name
    : FUNC
        { if (!OnReduce(formula::R_FUNC_NAME, &$1, 1, $$)) YYABORT; }
    ;
formula_call
    : formula_name
        { if (!OnReduce(formula::R_FORMULA_CALL_BARE, &$1, 1, $$)) YYABORT; }
    | formula_name '(' arg_list ')'
        { if (!OnReduce(formula::R_FORMULA_CALL, &$1, 4, $$)) YYABORT; }
    ;
formula_name
    : FORMULA
        { if (!OnReduce(formula::R_FORMULA_NAME, &$1, 1, $$)) YYABORT; }
    ;
arg_list
    : %empty
        { if (!OnReduce(formula::R_ARGS_EMPTY, nullptr, 0, $$)) YYABORT; }
    | expr
        { if (!OnReduce(formula::R_ARGS_EXPR, &$1, 1, $$)) YYABORT; }
    | STRING
        { if (!OnReduce(formula::R_ARGS_STRING, &$1, 1, $$)) YYABORT; }
    | arg_list ',' expr
        { if (!OnReduce(formula::R_ARGS_NEXT_EXPR, &$1, 3, $$)) YYABORT; }
    | arg_list ',' STRING
        { if (!OnReduce(formula::R_ARGS_NEXT_STRING, &$1, 3, $$)) YYABORT; }
    ;
%%
