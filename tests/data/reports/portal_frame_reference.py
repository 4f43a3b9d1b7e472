# Independent reference for the report of examples/portal-frame.inp: the exact rational solution
# of the frame by the stiffness method and the closed-form distributions along each member at the
# table points. Writes the expected metric report (point separator); with an argument, the
# imperial one. Run: python3 portal_frame_reference.py [imperial]
from fractions import Fraction as F
import sys
E=F(210000)
secs={'HEB':(F('0.00781'),F('0.0000569')),'IPE':(F('0.00538'),F('0.0000836'))}
nodes={1:(F(0),F(0)),2:(F(0),F(4)),3:(F(6),F(4)),4:(F(6),F(0))}
# members: (a,b,section,cos,sin,L, q)
mem=[(1,2,'HEB',0,-1,F(4),0),(2,3,'IPE',1,0,F(6),F(10)),(3,4,'HEB',0,1,F(4),0)]
fixed={(1,0),(1,1),(1,2),(4,1),(4,2)}  # (node, dof) dof 0 rot,1 u,2 w
n=12
def idx(node,d): return 3*(node-1)+d
K=[[F(0)]*n for _ in range(n)]; R=[F(0)]*n
def klocal(A,I,L):
    k=[[F(0)]*6 for _ in range(6)]
    a=E*A/L
    k[1][1]=a;k[1][4]=-a;k[4][1]=-a;k[4][4]=a
    # bending dofs order (w,th): w_a=2, th_a=0, w_b=5, th_b=3
    b=E*I/L**3
    m=[[12,6*L,-12,6*L],[6*L,4*L*L,-6*L,2*L*L],[-12,-6*L,12,-6*L],[6*L,2*L*L,-6*L,4*L*L]]
    ids=[2,0,5,3]
    for i in range(4):
        for j in range(4): k[ids[i]][ids[j]]+=b*m[i][j]
    return k
def Tm(c,s):
    T=[[F(0)]*6 for _ in range(6)]
    for o in (0,3):
        T[o][o]=F(1); T[o+1][o+1]=F(c); T[o+1][o+2]=F(s); T[o+2][o+1]=F(-s); T[o+2][o+2]=F(c)
    return T
def fef(q,L):  # local fixed-end forces on member (rot,u,w) at a and b
    return [-q*L*L/12,F(0),-q*L/2, q*L*L/12,F(0),-q*L/2]
def mul(A,x): return [sum(A[i][j]*x[j] for j in range(len(x))) for i in range(len(A))]
def tr(A): return [list(r) for r in zip(*A)]
info=[]
for (a,b,s,c,sn,L,q) in mem:
    A,I=secs[s]; k=klocal(A,I,L); T=Tm(c,sn); TT=tr(T)
    kg=[[sum(TT[i][p]*sum(k[p][r]*T[r][j] for r in range(6)) for p in range(6)) for j in range(6)] for i in range(6)]
    fe=mul(TT,fef(q,L))
    ids=[idx(a,d) for d in range(3)]+[idx(b,d) for d in range(3)]
    for i in range(6):
        R[ids[i]]-=fe[i]
        for j in range(6): K[ids[i]][ids[j]]+=kg[i][j]
    info.append((k,T,ids,A,I,L,q))
P=[F(0)]*n; P[idx(2,1)]=F(15)
rhs=[P[i]+R[i] for i in range(n)]
free=[i for i in range(n) if (i//3+1,i%3) not in fixed]
M=[[K[i][j] for j in free]+[rhs[i]] for i in free]
m=len(free)
for c in range(m):
    p=c
    for r in range(c+1,m):
        f=M[r][c]/M[c][c]
        for j in range(c,m+1): M[r][j]-=f*M[c][j]
D=[F(0)]*n; x=[F(0)]*m
for i in range(m-1,-1,-1):
    x[i]=(M[i][m]-sum(M[i][j]*x[j] for j in range(i+1,m)))/M[i][i]
for i,fi in enumerate(free): D[fi]=x[i]
# member end forces, reactions
tot=[F(0)]*n
ends=[]
for (k,T,ids,A,I,L,q) in info:
    dg=[D[i] for i in ids]; dl=mul(T,dg); f=[a+b for a,b in zip(mul(k,dl),fef(q,L))]
    ends.append((f,dl))
    fg=mul(tr(T),f)
    for i in range(6): tot[ids[i]]+=fg[i]
reac={}
for (nd,d) in sorted(fixed): reac[(nd,d)]=P[idx(nd,d)]-tot[idx(nd,d)]
def fmt(v,d=3):
    v=F(v); s='-' if v<0 else ''; a=abs(v)*10**d
    r=int(a); 
    if a-r>=F(1,2): r+=1
    if r==0: s=''
    t=str(r).rjust(d+1,'0'); return s+t[:-d]+'.'+t[-d:]
def fix(v,p,d):
    # fixed(p,d): at most p significant digits and d decimals
    v=F(v)
    if v==0: return fmt(0,d)
    import math
    a=abs(v); e=0
    while a>=1: a/=10; e+=1
    while a<F(1,10): a*=10; e-=1
    dec=min(d,p-e)
    s='-' if v<0 else ''; q=abs(v)*F(10)**dec; r=int(q)
    if q-r>=F(1,2): r+=1
    if r==0: return fmt(0,d)
    val=F(r)/F(10)**dec
    return s+fmt(val,d).lstrip('-')
IMP=len(sys.argv)>1
def lb(v): return v*1000/F('4.5359237')
def lbft(v): return v*1000/F('1.38254954376')
def inch(v): return v/F('0.0254')/1000
def ftin(x):
    s='-' if x<0 else ''; f=abs(x)/F('0.0254')/12; w=int(f)
    return s+str(w)+"'-"+fix((f-w)*12,18,3)+"''"
out=[]
out+=["VÝSLEDKY VÝPOČTU","","REAKCE"]
for nd in (1,2,3,4):
    for d,lab in ((0,'M'),(1,'H'),(2,'V')):
        if (nd,d) in reac:
            v=reac[(nd,d)]
            if IMP:
                if d==0: out.append("Uzel [%d]: M=%slb.ft"%(nd,fix(lbft(v),6,3)))
                elif d==1: out.append("Uzel [%d]: H=%slb natočení: 0.00°"%(nd,fix(lb(v),6,3)))
                else: out.append("Uzel [%d]: V=%slb natočení: 0.00°"%(nd,fix(lb(v),12,3)))
            elif d==0: out.append("Uzel [%d]: M=%skNm"%(nd,fix(v,6,3)))
            elif d==1: out.append("Uzel [%d]: H=%skN natočení: 0.00°"%(nd,fix(v,6,3)))
            else: out.append("Uzel [%d]: V=%skN natočení: 0.00°"%(nd,fix(v,12,3)))
out+=["","SÍLY NA PRUTECH"]
for mi,((k,T,ids,A,I,L,q),(f,dl)) in enumerate(zip(info,ends)):
    EI=E*I; EA=E*A
    xs=[L*i/10 for i in range(11)]
    if q: xs=[xs[0]]+xs+[xs[-1]]   # load start and end coincide with the ends: doubled columns
    M0,N0,T0=f[0],f[1],f[2]; th0,u0,w0=dl[0],dl[1],dl[2]
    def Mx(x): return M0-T0*x-q*x*x/2
    def Nx(x): return N0
    def Tx(x): return T0+q*x
    def thx(x): return th0+(-M0*x+T0*x*x/2+q*x**3/6)/EI
    def ux(x): return u0-N0*x/EA
    def wx(x): return w0+th0*x+(-M0*x*x/2+T0*x**3/6+q*x**4/24)/EI
    out+=["","Prut %d"%(mi+1)]
    for lab,fn,sg,unit in (("M",Mx,1,"kNm"),("N",Nx,-1,"kN"),("T",Tx,-1,"kN"),("u",ux,1,"mm"),("w",wx,1,"mm")):
        out.append("  %s:"%lab)
        v=[fn(x) for x in xs]; last=len(xs)-1; prev=None
        for i in range(len(xs)):
            if 0<i<last:
                mk=(v[i-1]<v[i] and v[i+1]<v[i]) or (v[i-1]>v[i] and v[i+1]>v[i]) or xs[i]==xs[i-1] or xs[i]==xs[i+1]
                if not mk: continue
            key=(v[i],xs[i])
            if key==prev: continue
            prev=key
            if IMP:
                conv={"M":(lbft," lbft"),"N":(lb," lb"),"T":(lb," lb"),"u":(inch,""),"w":(inch,"")}[lab]
                out.append("    %s%s (x = %s)"%(fix(conv[0](sg*v[i]),12,3),conv[1],ftin(xs[i])))
            else:
                out.append("    %s %s (x = %s m)"%(fix(sg*v[i],12,3),unit,fix(xs[i],12,3)))
        # near-ties warning
        for i in range(1,last):
            if v[i]!=v[i-1] and abs(v[i]-v[i-1])<F(1,10**9)*max(1,abs(v[i])): print("NEAR TIE",mi+1,lab,i,file=sys.stderr)
print("\n".join(out))
